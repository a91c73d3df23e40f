// The state a new connection's context block starts from.
#pragma once

#include <cstdint>

#include "records.h"

namespace ktpen {

// The connection's number, no window, disabled, the default system context over the whole tablet,
// and an empty queue whose serial numbers start at 0.
void InitialiseContextBlock(pz::WintabContextBlock& block, uint32_t contextId);

}  // namespace ktpen
