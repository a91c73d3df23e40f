// Opening the objects a service created, under the name rule of object_name_rule.h.
#pragma once

#include <windows.h>

#include <string>

namespace pz {

enum class ServiceObjectKind { kMapping, kEvent };

// The running system's major version (GetVersionExA).
unsigned OsMajorVersion();

// `name` by the settings and tray programs' version rule, for this system.
std::string NameForThisSystem(const char* name);

// Opens the mapping or event by `name`, then by its other form; no handle inheritance. nullptr when
// neither exists or access is refused.
HANDLE OpenServiceObject(ServiceObjectKind kind, const char* name, DWORD access);

}  // namespace pz
