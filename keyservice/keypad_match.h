// Which HID collection is a keypad: the first TabletModelTable row of its product must give it a nonzero
// keypad report length equal to the collection's input report length.
#pragma once

#include <cstdint>

namespace ktkey {

// Later rows of the same product are never looked at, so a model whose first row has no keys is never
// opened, whatever its other rows say.
bool IsKeypadCollection(uint16_t vendorId, uint16_t productId, uint16_t inputReportLength);

}  // namespace ktkey
