// The device layer of ktpen-sim.exe: simulated devices played by simhid.exe in place of SetupAPI and HID.
#include <map>
#include <mutex>

#include "hid_device.h"
#include "sim_hid_contract.h"

namespace ktpen {
namespace {

// Which simulated index each open handle belongs to; a closed handle's entry is overwritten when the
// value is reused by a later open.
std::mutex g_indexLock;
std::map<HANDLE, unsigned> g_indexOfHandle;

bool ReadAttributes(HANDLE device, pzsim::SimHidAttributes& attributes) {
    unsigned index = 0;
    {
        std::lock_guard<std::mutex> lock(g_indexLock);
        auto it = g_indexOfHandle.find(device);
        if (it == g_indexOfHandle.end()) return false;
        index = it->second;
    }
    HANDLE mapping = OpenFileMappingA(FILE_MAP_READ, FALSE, pzsim::SimHidAttributesName(index).c_str());
    if (mapping == nullptr) return false;
    const void* view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, sizeof attributes);
    if (view != nullptr) {
        attributes = *static_cast<const pzsim::SimHidAttributes*>(view);
        UnmapViewOfFile(view);
    }
    CloseHandle(mapping);
    return view != nullptr;
}

}  // namespace

GUID HidInterfaceClass() {
    return GUID{};  // the simulated devices form their own class
}

HANDLE OpenInterface(const GUID&, DWORD index) {
    if (index > pzsim::kSimHidMaxIndex) return nullptr;
    HANDLE pipe =
        CreateFileA(pzsim::SimHidPipeName(index).c_str(), GENERIC_READ | GENERIC_WRITE,
                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
    if (pipe == INVALID_HANDLE_VALUE) return nullptr;
    DWORD mode = PIPE_READMODE_MESSAGE;
    if (!SetNamedPipeHandleState(pipe, &mode, nullptr, nullptr)) {
        CloseHandle(pipe);
        return nullptr;
    }
    std::lock_guard<std::mutex> lock(g_indexLock);
    g_indexOfHandle[pipe] = index;
    return pipe;
}

bool GetCollectionAttributes(HANDLE device, HidCollectionInfo& info) {
    pzsim::SimHidAttributes attributes{};
    if (!ReadAttributes(device, attributes)) return false;
    info.vendorId = attributes.VendorId;
    info.productId = attributes.ProductId;
    return true;
}

bool GetCollectionCaps(HANDLE device, HidCollectionInfo& info) {
    pzsim::SimHidAttributes attributes{};
    if (!ReadAttributes(device, attributes)) return false;
    info.usagePage = attributes.UsagePage;
    info.usage = attributes.Usage;
    info.inputReportLength = attributes.InputReportLength;
    return true;
}

}  // namespace ktpen
