#include "replay_options.h"

#include <cerrno>
#include <cstdlib>
#include <functional>
#include <map>

namespace ktpen {
namespace {

bool ParseInt(const std::string& text, long long low, long long high, long long& value) {
    if (text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    value = std::strtoll(text.c_str(), &end, 0);
    return errno == 0 && *end == '\0' && value >= low && value <= high;
}

// Comma-separated integers, exactly `count` of them.
bool ParseList(const std::string& text, size_t count, long long low, long long high, std::vector<long long>& values) {
    values.clear();
    size_t start = 0;
    while (true) {
        const size_t comma = text.find(',', start);
        long long value;
        if (!ParseInt(text.substr(start, comma - start), low, high, value)) return false;
        values.push_back(value);
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return values.size() == count;
}

using ValueOption = std::function<bool(const std::string&, ReplayOptions&)>;

const std::map<std::string, ValueOption>& ValueOptions() {
    static const std::map<std::string, ValueOption> options = {
        {"--report-length",
         [](const std::string& v, ReplayOptions& o) {
             long long n;
             if (!ParseInt(v, 8, 10, n) || (n != 8 && n != 10)) return false;
             o.tablet.reportLength = static_cast<uint16_t>(n);
             return true;
         }},
        {"--pressure-max",
         [](const std::string& v, ReplayOptions& o) {
             long long n;
             if (!ParseInt(v, 511, 1023, n) || (n != 511 && n != 1023)) return false;
             o.tablet.pressureMaximum = static_cast<uint16_t>(n);
             return true;
         }},
        {"--own-leave",
         [](const std::string& v, ReplayOptions& o) {
             long long n;
             if (!ParseInt(v, 0, 1, n)) return false;
             o.tablet.ownLeaveReport = n == 1;
             return true;
         }},
        {"--area",
         [](const std::string& v, ReplayOptions& o) {
             std::vector<long long> a;
             if (!ParseList(v, 4, 0, 65535, a)) return false;
             o.area = {static_cast<uint16_t>(a[0]), static_cast<uint16_t>(a[1]), static_cast<uint16_t>(a[2]),
                       static_cast<uint16_t>(a[3])};
             return true;
         }},
        {"--pressure-level",
         [](const std::string& v, ReplayOptions& o) {
             long long n;
             if (!ParseInt(v, 0, 65535, n)) return false;
             o.pressureLevel = static_cast<uint16_t>(n);
             return true;
         }},
        {"--context",
         [](const std::string& v, ReplayOptions& o) {
             std::vector<long long> c;
             if (!ParseList(v, 5, INT32_MIN, UINT32_MAX, c)) return false;
             o.withContext = true;
             o.contextOptions = static_cast<uint32_t>(c[0]);
             o.outOrgX = static_cast<int32_t>(c[1]);
             o.outOrgY = static_cast<int32_t>(c[2]);
             o.outExtX = static_cast<int32_t>(c[3]);
             o.outExtY = static_cast<int32_t>(c[4]);
             return true;
         }},
        {"--tail",
         [](const std::string& v, ReplayOptions& o) {
             long long n;
             if (!ParseInt(v, 0, 86400000, n)) return false;
             o.tailMs = static_cast<uint32_t>(n);
             return true;
         }},
    };
    return options;
}

}  // namespace

bool ParseCommandLine(const std::vector<std::string>& args, CommandLine& command, std::string& error) {
    bool disabled = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--no-settings") {
            command.options.withSettings = false;
        } else if (arg == "--position-window") {
            command.options.positionWindow = true;
        } else if (arg == "--disabled") {
            disabled = true;
        } else if (ValueOptions().count(arg)) {
            if (i + 1 >= args.size() || !ValueOptions().at(arg)(args[i + 1], command.options)) {
                error = "bad value for " + arg;
                return false;
            }
            ++i;
        } else if (arg.size() > 1 && arg[0] == '-') {
            error = "unknown option " + arg;
            return false;
        } else if (command.scriptPath.empty()) {
            command.scriptPath = arg;
        } else {
            error = "more than one script: " + arg;
            return false;
        }
    }
    if (disabled && !command.options.withContext) {
        error = "--disabled needs --context";
        return false;
    }
    command.options.contextDisabled = disabled;
    return true;
}

}  // namespace ktpen
