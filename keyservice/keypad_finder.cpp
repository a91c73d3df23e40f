#include "keypad_finder.h"

#include "hid_device.h"
#include "keypad_match.h"

namespace ktkey {
namespace {
constexpr DWORD kLastInterfaceIndex = 32;
}  // namespace

HANDLE FindKeypad() {
    const GUID interfaceClass = ktpen::HidInterfaceClass();
    for (DWORD index = 0; index <= kLastInterfaceIndex; ++index) {
        HANDLE device = ktpen::OpenInterface(interfaceClass, index);
        if (device == nullptr) continue;
        ktpen::HidCollectionInfo info;
        if (ktpen::GetCollectionAttributes(device, info) && ktpen::GetCollectionCaps(device, info) &&
            IsKeypadCollection(info.vendorId, info.productId, info.inputReportLength))
            return device;
        CloseHandle(device);
    }
    return nullptr;
}

}  // namespace ktkey
