// What the settings program learns about the opened tablet: the keypad and tilt flags of the record and
// the product id and physical size in the block's tail, all from the model
// table row of the opened product and report length.
#pragma once

#include <cstdint>

#include "records.h"

namespace pz {

// Fills HasKeypad, HasTilt and Tablet for the tablet the service has just opened. A product missing from
// TabletModelTable gets no keypad and a size of 0: the settings program then keeps its own defaults.
void DescribeOpenedTablet(ControlPanelBlock& block, uint16_t vendorId, uint16_t productId, uint16_t reportLength);

}  // namespace pz
