// How programs name the objects a service created. A service's "Global\" objects cannot be reached by the
// bare name from another session, and a bare name from the service's own session may not exist under
// "Global\" on older systems, so openers try the expected name first and then its other form.
#pragma once

#include <array>
#include <string>

namespace pz {

constexpr const char kGlobalPrefix[] = "Global\\";

// `name` without a leading "Global\".
std::string BareObjectName(const std::string& name);

// The name the settings and tray programs use by the operating system's major version: with "Global\"
// below 6, without from 6 on.
std::string NameForOsMajor(const std::string& name, unsigned osMajor);

// `name` itself, then its other form (with "Global\" added or removed).
std::array<std::string, 2> NamesToTry(const std::string& name);

}  // namespace pz
