// Command-line options of latency_probe.exe (the full list is at the top of latency_probe.cpp).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pzbench {

struct ProbeOptions {
    std::string scriptPath;       // --script: the report script simhid plays
    std::string stampsPath;       // --stamps: simhid's --stamp-log file, awaited as the end of the run
    std::string summaryPath;      // --summary: the findings also go to this file
    uint32_t durationMs = 0;      // --duration: without a script, how long to watch
    uint16_t productId = 0x8201;  // --product and --report-length: the simulated tablet's device-table row
    uint16_t reportLength = 8;
    bool wintab = true;           // --no-wintab: watch the pointer only
    uint32_t timeoutMs = 600000;  // --timeout-ms: give up waiting for the stamp log
    uint32_t settleMs = 1000;     // --settle-ms: keep watching after the stamp log appeared
    // --write-stroke FILE [--reports N] [--interval-ms MS]: only write the benchmark stroke and end.
    std::string strokePath;
    uint32_t strokeReports = 10000;
    uint32_t strokeIntervalMs = 5;
};

// False with a one-line message for an unknown option, a missing value or a malformed number.
bool ParseProbeOptions(const std::vector<std::string>& args, ProbeOptions& options, std::string& error);

}  // namespace pzbench
