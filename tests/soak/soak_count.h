// Repetitions of a soak case: a few in the everyday test run, the full count when PZ_SOAK=full (make soak).
#pragma once

#include <cstdlib>
#include <cstring>

namespace soak {

inline bool FullSoak() {
    const char* value = std::getenv("PZ_SOAK");
    return value != nullptr && std::strcmp(value, "full") == 0;
}

inline int Repetitions(int everyday, int full) {
    return FullSoak() ? full : everyday;
}

}  // namespace soak
