// The device layer of the shipped service: SetupAPI for the interfaces, the HID library for their
// attributes and capabilities.
#include "hid_device.h"

#include <setupapi.h>

#include <vector>

namespace ktpen {
namespace {

// The few HID library entries used, declared from their documented signatures.
struct HidAttributes {
    ULONG Size;
    USHORT VendorID;
    USHORT ProductID;
    USHORT VersionNumber;
};

struct HidCaps {
    USHORT Usage;
    USHORT UsagePage;
    USHORT InputReportByteLength;
    USHORT OutputReportByteLength;
    USHORT FeatureReportByteLength;
    USHORT Reserved[17];
    USHORT Counts[11];
};

using GetHidGuidFn = void(__stdcall*)(GUID*);
using GetAttributesFn = BOOLEAN(__stdcall*)(HANDLE, HidAttributes*);
using GetPreparsedDataFn = BOOLEAN(__stdcall*)(HANDLE, void**);
using FreePreparsedDataFn = BOOLEAN(__stdcall*)(void*);
using GetCapsFn = LONG(__stdcall*)(void*, HidCaps*);

constexpr LONG kHidpStatusSuccess = 0x00110000;

struct HidLibrary {
    GetHidGuidFn getHidGuid = nullptr;
    GetAttributesFn getAttributes = nullptr;
    GetPreparsedDataFn getPreparsedData = nullptr;
    FreePreparsedDataFn freePreparsedData = nullptr;
    GetCapsFn getCaps = nullptr;

    // Loaded once and kept for the life of the process.
    static const HidLibrary& Get() {
        static const HidLibrary library = Load();
        return library;
    }

  private:
    template <typename Function>
    static Function Find(HMODULE module, const char* name) {
        return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    }

    static HidLibrary Load() {
        HidLibrary library;
        HMODULE module = LoadLibraryA("hid.dll");
        if (module == nullptr) return library;
        library.getHidGuid = Find<GetHidGuidFn>(module, "HidD_GetHidGuid");
        library.getAttributes = Find<GetAttributesFn>(module, "HidD_GetAttributes");
        library.getPreparsedData = Find<GetPreparsedDataFn>(module, "HidD_GetPreparsedData");
        library.freePreparsedData = Find<FreePreparsedDataFn>(module, "HidD_FreePreparsedData");
        library.getCaps = Find<GetCapsFn>(module, "HidP_GetCaps");
        return library;
    }
};

}  // namespace

GUID HidInterfaceClass() {
    GUID guid{};
    if (HidLibrary::Get().getHidGuid != nullptr) HidLibrary::Get().getHidGuid(&guid);
    return guid;
}

HANDLE OpenInterface(const GUID& interfaceClass, DWORD index) {
    HDEVINFO set = SetupDiGetClassDevsA(&interfaceClass, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    if (set == INVALID_HANDLE_VALUE) return nullptr;
    HANDLE device = nullptr;
    SP_DEVICE_INTERFACE_DATA interfaceData{};
    interfaceData.cbSize = sizeof interfaceData;
    if (SetupDiEnumDeviceInterfaces(set, nullptr, &interfaceClass, index, &interfaceData)) {
        DWORD required = 0;
        SetupDiGetDeviceInterfaceDetailA(set, &interfaceData, nullptr, 0, &required, nullptr);
        if (required >= sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A)) {
            std::vector<BYTE> buffer(required);
            auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_A*>(buffer.data());
            detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A);
            if (SetupDiGetDeviceInterfaceDetailA(set, &interfaceData, detail, required, nullptr, nullptr)) {
                HANDLE file =
                    CreateFileA(detail->DevicePath, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
                if (file != INVALID_HANDLE_VALUE) device = file;
            }
        }
    }
    SetupDiDestroyDeviceInfoList(set);
    return device;
}

bool GetCollectionAttributes(HANDLE device, HidCollectionInfo& info) {
    const HidLibrary& hid = HidLibrary::Get();
    HidAttributes attributes{};
    attributes.Size = sizeof attributes;
    if (hid.getAttributes == nullptr || !hid.getAttributes(device, &attributes)) return false;
    info.vendorId = attributes.VendorID;
    info.productId = attributes.ProductID;
    return true;
}

bool GetCollectionCaps(HANDLE device, HidCollectionInfo& info) {
    const HidLibrary& hid = HidLibrary::Get();
    void* preparsed = nullptr;
    if (hid.getPreparsedData == nullptr || hid.getCaps == nullptr || !hid.getPreparsedData(device, &preparsed))
        return false;
    HidCaps caps{};
    const bool ok = hid.getCaps(preparsed, &caps) == kHidpStatusSuccess;
    if (hid.freePreparsedData != nullptr) hid.freePreparsedData(preparsed);
    if (!ok) return false;
    info.usagePage = caps.UsagePage;
    info.usage = caps.Usage;
    info.inputReportLength = caps.InputReportByteLength;
    return true;
}

}  // namespace ktpen
