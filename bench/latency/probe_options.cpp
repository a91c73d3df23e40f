#include "probe_options.h"

#include <cstdlib>

namespace pzbench {
namespace {

bool ParseNumber(const std::string& text, uint32_t maximum, uint32_t& value) {
    char* end = nullptr;
    const unsigned long long parsed = std::strtoull(text.c_str(), &end, 0);  // decimal, or 0x hexadecimal
    if (text.empty() || text[0] == '-' || *end != '\0' || parsed > maximum) return false;
    value = static_cast<uint32_t>(parsed);
    return true;
}

}  // namespace

bool ParseProbeOptions(const std::vector<std::string>& args, ProbeOptions& options, std::string& error) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& name = args[i];
        if (name == "--no-wintab") {
            options.wintab = false;
            continue;
        }
        if (i + 1 >= args.size()) {
            error = "missing value or unknown option " + name;
            return false;
        }
        const std::string& value = args[++i];
        uint32_t number = 0;
        if (name == "--script")
            options.scriptPath = value;
        else if (name == "--stamps")
            options.stampsPath = value;
        else if (name == "--summary")
            options.summaryPath = value;
        else if (name == "--duration" && ParseNumber(value, 0xFFFFFFFF, number) && number > 0)
            options.durationMs = number;
        else if (name == "--write-stroke")
            options.strokePath = value;
        else if (name == "--product" && ParseNumber(value, 0xFFFF, number))
            options.productId = static_cast<uint16_t>(number);
        else if (name == "--report-length" && ParseNumber(value, 0xFFFF, number))
            options.reportLength = static_cast<uint16_t>(number);
        else if (name == "--timeout-ms" && ParseNumber(value, 0xFFFFFFFF, number))
            options.timeoutMs = number;
        else if (name == "--settle-ms" && ParseNumber(value, 0xFFFFFFFF, number))
            options.settleMs = number;
        else if (name == "--reports" && ParseNumber(value, 1000000, number) && number > 0)
            options.strokeReports = number;
        else if (name == "--interval-ms" && ParseNumber(value, 1000, number) && number > 0)
            options.strokeIntervalMs = number;
        else {
            error = "bad option " + name + " " + value;
            return false;
        }
    }
    if (!options.strokePath.empty()) return true;
    if (options.scriptPath.empty() != options.stampsPath.empty()) {
        error = "--script and --stamps go together";
        return false;
    }
    if (options.scriptPath.empty() && options.durationMs == 0) {
        error = "--script and --stamps, or --duration, are needed";
        return false;
    }
    return true;
}

}  // namespace pzbench
