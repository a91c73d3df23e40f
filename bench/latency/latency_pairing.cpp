#include "latency_pairing.h"

#include <algorithm>
#include <cstdlib>

namespace pzbench {
namespace {

bool Matches(const Expected& e, const Arrival& a, int32_t tolerance) {
    if (e.kind != a.kind) return false;
    return e.anyPosition || (std::abs(e.x - a.x) <= tolerance && std::abs(e.y - a.y) <= tolerance);
}

}  // namespace

Alignment Align(const std::vector<Expected>& expected, const std::vector<Arrival>& arrivals, int32_t tolerance) {
    Alignment result;
    size_t next = 0;
    for (const Arrival& arrival : arrivals) {
        const size_t end = std::min(expected.size(), next + kLookAhead);
        size_t k = next;
        while (k < end && !Matches(expected[k], arrival, tolerance)) ++k;
        if (k == end) {
            ++result.extra;
            continue;
        }
        for (; next < k; ++next) result.missingReports.push_back(expected[next].report);
        result.pairs.push_back({expected[k].report, arrival.stamp, arrival.read});
        next = k + 1;
    }
    for (; next < expected.size(); ++next) result.missingReports.push_back(expected[next].report);
    return result;
}

}  // namespace pzbench
