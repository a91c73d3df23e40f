#include "usb_probe.h"

#include "tablet_tables.h"

namespace pz {

bool MatchSupportedTablet(const UsbId* entries, int count) {
    if (entries == nullptr || count <= 0) return false;
    if (count > kUsbProbeEntries) count = kUsbProbeEntries;  // a misbehaving library must not make us overread
    for (int i = 0; i < count; ++i) {
        // The walk compares the terminating row too; its accept flag is 0, so it never matches.
        for (const TabletModel* row = TabletModelTable;; ++row) {
            if (row->VendorId == entries[i].VendorId && row->ProductId == entries[i].ProductId && row->Accepted == 1)
                return true;
            if (row->VendorId == 0) break;
        }
    }
    return false;
}

}  // namespace pz
