// Pairs what arrived at an output (pointer events seen by a hook, packets read by a Wintab client) with
// the effects the script should have caused there, in order. An arrival that matches a later expected
// effect within a short look-ahead means the effects before it never arrived; an arrival that matches
// none is extra.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace pzbench {

struct Expected {
    uint32_t report;   // the report that causes it
    uint32_t kind;     // what it is: a pointer action, or the buttons of a packet
    int32_t x, y;      // where it is
    bool anyPosition;  // a button event carries no position of its own
};

struct Arrival {
    uint32_t kind;
    int32_t x, y;
    int64_t stamp;  // performance counter at arrival
    int64_t read;   // performance counter once it was read (packets), else equal to stamp
};

struct Pair {
    uint32_t report;
    int64_t stamp;
    int64_t read;
};

struct Alignment {
    std::vector<Pair> pairs;
    std::vector<uint32_t> missingReports;  // the report of every expected effect that never arrived
    uint32_t extra = 0;
};

constexpr size_t kLookAhead = 32;

// `tolerance` is the largest difference in x and in y that still matches.
Alignment Align(const std::vector<Expected>& expected, const std::vector<Arrival>& arrivals, int32_t tolerance);

}  // namespace pzbench
