#include "report_script.h"

#include <cctype>
#include <sstream>

namespace pz {
namespace {

bool ParseDecimal(const std::string& token, uint32_t& value) {
    if (token.empty() || token.size() > 9) return false;  // nine digits cannot overflow 32 bits
    value = 0;
    for (char c : token) {
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
        value = value * 10 + static_cast<uint32_t>(c - '0');
    }
    return true;
}

bool ParseHexByte(const std::string& token, uint8_t& value) {
    if (token.empty() || token.size() > 2) return false;
    unsigned result = 0;
    for (char c : token) {
        if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
        int digit = std::isdigit(static_cast<unsigned char>(c)) ? c - '0' : std::tolower(c) - 'a' + 10;
        result = result * 16 + static_cast<unsigned>(digit);
    }
    value = static_cast<uint8_t>(result);
    return true;
}

bool Fail(ScriptError& error, int line, const std::string& message) {
    error.line = line;
    error.message = message;
    return false;
}

}  // namespace

bool ParseScriptLine(const std::string& text, int lineNumber, ScriptDialect dialect, ScriptStep& step, bool& hasStep,
                     ScriptError& error) {
    hasStep = false;
    std::istringstream in(text.substr(0, text.find('#')));
    std::vector<std::string> tokens;
    for (std::string token; in >> token;) tokens.push_back(token);
    if (tokens.empty()) return true;

    step = ScriptStep{};
    step.line = lineNumber;
    size_t first = 0;
    bool delayGiven = false;
    if (tokens[0][0] == '+') {
        if (!ParseDecimal(tokens[0].substr(1), step.delayMs)) return Fail(error, lineNumber, "bad delay " + tokens[0]);
        delayGiven = true;
        if (++first == tokens.size()) return Fail(error, lineNumber, "delay without a report");
    }

    const std::string& word = tokens[first];
    if (word == "wait") {
        if (delayGiven || tokens.size() != 2 || !ParseDecimal(tokens[1], step.delayMs))
            return Fail(error, lineNumber, "expected: wait N");
        step.kind = ScriptStepKind::Wait;
    } else if (word == "unplug" || word == "plug") {
        if (dialect != ScriptDialect::Device) return Fail(error, lineNumber, "unknown command " + word);
        if (tokens.size() != first + 1) return Fail(error, lineNumber, "unexpected text after " + word);
        step.kind = word == "plug" ? ScriptStepKind::Plug : ScriptStepKind::Unplug;
    } else {
        step.kind = ScriptStepKind::Report;
        if (!delayGiven) step.delayMs = kDefaultReportDelayMs;
        for (size_t i = first; i < tokens.size(); ++i) {
            uint8_t byte = 0;
            if (!ParseHexByte(tokens[i], byte)) return Fail(error, lineNumber, "bad byte " + tokens[i]);
            step.bytes.push_back(byte);
        }
    }
    hasStep = true;
    return true;
}

bool ParseReportScript(const std::string& text, ScriptDialect dialect, std::vector<ScriptStep>& steps,
                       ScriptError& error) {
    std::istringstream in(text);
    int lineNumber = 0;
    for (std::string line; std::getline(in, line);) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        ScriptStep step;
        bool hasStep = false;
        if (!ParseScriptLine(line, lineNumber, dialect, step, hasStep, error)) return false;
        if (hasStep) steps.push_back(std::move(step));
    }
    return true;
}

}  // namespace pz
