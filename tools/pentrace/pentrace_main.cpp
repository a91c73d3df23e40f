// pentrace: replays a report script through the pen pipeline on a simulated clock and prints every
// effect as one JSON object per line.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>

#include "replay_options.h"
#include "replay_session.h"

namespace {

int Fail(const std::string& message) {
    std::fprintf(stderr, "pentrace: %s\n", message.c_str());
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    ktpen::CommandLine command;
    std::string error;
    if (!ktpen::ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc), command, error)) return Fail(error);

    std::stringstream text;
    if (command.scriptPath.empty()) {
        text << std::cin.rdbuf();
    } else {
        std::ifstream file(command.scriptPath, std::ios::binary);
        if (!file) return Fail("cannot read " + command.scriptPath);
        text << file.rdbuf();
    }
    std::vector<pz::ScriptStep> steps;
    pz::ScriptError scriptError;
    if (!pz::ParseReportScript(text.str(), pz::ScriptDialect::Reports, steps, scriptError))
        return Fail("line " + std::to_string(scriptError.line) + ": " + scriptError.message);

    ktpen::ReplaySession session(command.options);
    session.Run(steps);
    for (const ktpen::ReplayEvent& event : session.Events()) std::printf("%s\n", ktpen::FormatEventJson(event).c_str());
    return 0;
}
