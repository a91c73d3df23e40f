#include <gtest/gtest.h>

#include <vector>

#include "tablet_tables.h"
#include "usb_probe.h"

namespace {

using namespace pz;

// A product id whose only rows are refused, and one that is accepted.
uint16_t RefusedProduct() {
    for (size_t i = 0; i < kTabletModelRows; ++i) {
        const uint16_t pid = TabletModelTable[i].ProductId;
        bool accepted = false;
        for (size_t j = 0; j < kTabletModelRows; ++j)
            accepted |= TabletModelTable[j].ProductId == pid && TabletModelTable[j].Accepted;
        if (!accepted) return pid;
    }
    return 0;
}

struct ProbeCase {
    const char* what;
    std::vector<UsbId> ids;
    int count;
    bool present;
};

TEST(UsbProbe, MatchesOnlyAcceptedModels) {
    const UsbId supported{kVendorId, kEightKeyProductId};
    const UsbId refused{kVendorId, RefusedProduct()};
    const UsbId mouse{0x046D, 0xC077};
    const UsbId terminator{0, 0};
    ASSERT_NE(refused.ProductId, 0);
    const ProbeCase cases[] = {
        {"none", {}, 0, false},
        {"negative count", {supported}, -1, false},
        {"supported", {supported}, 1, true},
        {"unsupported then supported", {mouse, supported}, 2, true},
        {"refused only", {refused}, 1, false},
        {"a zero entry never matches the terminator", {terminator}, 1, false},
        {"entries past the count are not read", {mouse, supported}, 1, false},
        {"other vendor with our product id", {{0x1234, kEightKeyProductId}}, 1, false},
    };
    for (const ProbeCase& c : cases) EXPECT_EQ(MatchSupportedTablet(c.ids.data(), c.count), c.present) << c.what;
}

TEST(UsbProbe, NeverReadsPastThirtyTwoEntries) {
    // Exactly 32 entries on the heap: under AddressSanitizer a read of entry 33 would fail the test.
    std::vector<UsbId> ids(kUsbProbeEntries, UsbId{0x046D, 0xC077});
    EXPECT_FALSE(MatchSupportedTablet(ids.data(), 1000));
    ids[31] = {kVendorId, kEightKeyProductId};
    EXPECT_TRUE(MatchSupportedTablet(ids.data(), 1000));
}

}  // namespace
