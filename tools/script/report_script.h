// Report scripts: the text format in which pen report sequences are written for the replay tool and the
// simulated tablet. One report per line as hexadecimal bytes separated by blanks; an optional prefix
// "+N " puts the line N ms after the previous line; "wait N" only advances time; "#" starts a comment;
// blank lines are ignored. The device dialect adds "unplug" and "plug".
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pz {

enum class ScriptDialect {
    Reports,  // reports and waits only
    Device,   // also unplug and plug
};

enum class ScriptStepKind { Report, Wait, Unplug, Plug };

constexpr uint32_t kDefaultReportDelayMs = 5;

struct ScriptStep {
    ScriptStepKind kind = ScriptStepKind::Report;
    uint32_t delayMs = 0;        // time after the previous step
    std::vector<uint8_t> bytes;  // the report, for kind Report
    int line = 0;                // 1-based line number in the script
};

struct ScriptError {
    int line = 0;
    std::string message;
};

// Parses one line. Returns false with `error` filled for a malformed line; otherwise returns true and
// sets `hasStep` (false for blank and comment-only lines). A report without "+N" is 5 ms after the
// previous step; "unplug" and "plug" without it follow at once.
bool ParseScriptLine(const std::string& text, int lineNumber, ScriptDialect dialect, ScriptStep& step, bool& hasStep,
                     ScriptError& error);

// Parses a whole script; stops at the first malformed line.
bool ParseReportScript(const std::string& text, ScriptDialect dialect, std::vector<ScriptStep>& steps,
                       ScriptError& error);

}  // namespace pz
