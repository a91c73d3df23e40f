#include "keypad_match.h"

#include "tablet_tables.h"

namespace ktkey {

bool IsKeypadCollection(uint16_t vendorId, uint16_t productId, uint16_t inputReportLength) {
    const pz::TabletModel* row = pz::FindFirstModelRow(vendorId, productId);
    return row != nullptr && row->KeypadReportLength != 0 && row->KeypadReportLength == inputReportLength;
}

}  // namespace ktkey
