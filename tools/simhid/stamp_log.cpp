#include "stamp_log.h"

#include <windows.h>

#include <cstdio>

bool StampLog::Write(const std::string& path) const {
    const std::string partial = path + ".part";
    FILE* out = std::fopen(partial.c_str(), "w");
    if (out == nullptr) return false;
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    bool written = std::fprintf(out, "frequency %lld\n", static_cast<long long>(frequency.QuadPart)) > 0;
    for (const Entry& entry : entries_)
        written = written && std::fprintf(out, "%u %lld\n", entry.report, static_cast<long long>(entry.counter)) > 0;
    written = std::fclose(out) == 0 && written;
    return written && MoveFileExA(partial.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}
