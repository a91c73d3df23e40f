// Command-line options of pentrace.
#pragma once

#include <string>
#include <vector>

#include "replay_session.h"

namespace ktpen {

struct CommandLine {
    ReplayOptions options;
    std::string scriptPath;  // empty: standard input
};

// Returns false with a one-line message for an unknown or malformed option.
bool ParseCommandLine(const std::vector<std::string>& args, CommandLine& command, std::string& error);

}  // namespace ktpen
