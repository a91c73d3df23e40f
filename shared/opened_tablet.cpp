#include "opened_tablet.h"

#include "tablet_tables.h"

namespace pz {
namespace {
constexpr uint16_t kTiltReportLength = 10;  // only tilt pens send the two extra bytes
}

void DescribeOpenedTablet(ControlPanelBlock& block, uint16_t vendorId, uint16_t productId, uint16_t reportLength) {
    // The row of the report length in use: some models have keys only in their tilt row.
    const TabletModel* model = FindModelRow(vendorId, productId, reportLength);
    if (model == nullptr) model = FindFirstModelRow(vendorId, productId);
    block.Record.HasKeypad = model != nullptr && model->KeypadReportLength != 0 ? 1 : 0;
    block.Record.HasTilt = reportLength == kTiltReportLength ? 1 : 0;
    block.Tablet.ProductId = productId;
    block.Tablet.WidthInches = model != nullptr ? model->WidthInches : 0;
    block.Tablet.HeightInches = model != nullptr ? model->HeightInches : 0;
}

}  // namespace pz
