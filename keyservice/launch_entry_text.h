// The program a launch key starts. The settings program fills the LaunchEntry, but the block is open to
// every program of the session, so neither field can be trusted to end with a zero.
#pragma once

#include <string>

#include "records.h"

namespace ktkey {

struct LaunchCommand {
    std::string path;
    std::string parameters;
};

// Each field up to its first zero, or the whole field when it has none; never past the field.
LaunchCommand ReadLaunchEntry(const pz::LaunchEntry& entry);

}  // namespace ktkey
