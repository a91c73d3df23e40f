#include "key_test_support.h"

#include <cstdio>
#include <cstring>

#include "key_file.h"
#include "object_names.h"
#include "sim_hid_contract.h"

namespace keytest {
namespace {

std::string InDirectory(UINT(WINAPI* directoryOf)(LPSTR, UINT)) {
    char directory[MAX_PATH];
    directoryOf(directory, MAX_PATH);
    return std::string(directory) + pz::kKeyFileName;
}

template <typename Function>
Function Export(HMODULE module, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

DWORD FoldModifier(DWORD key) {
    switch (key) {
        case VK_LCONTROL:
        case VK_RCONTROL:
            return VK_CONTROL;
        case VK_LSHIFT:
        case VK_RSHIFT:
            return VK_SHIFT;
        case VK_LMENU:
        case VK_RMENU:
            return VK_MENU;
        default:
            return key;
    }
}

}  // namespace

std::string WindowsDirectoryKeyFile() {
    return InDirectory(GetWindowsDirectoryA);
}

std::string SystemDirectoryKeyFile() {
    return InDirectory(GetSystemDirectoryA);
}

KeyFileBackup::KeyFileBackup() {
    for (const std::string& path : {WindowsDirectoryKeyFile(), SystemDirectoryKeyFile()}) {
        Saved saved;
        saved.path = path;
        saved.existed = GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
        if (saved.existed) saved.bytes = ReadFileBytes(path);
        DeleteFileA(path.c_str());
        saved_.push_back(saved);
    }
}

KeyFileBackup::~KeyFileBackup() {
    for (const Saved& saved : saved_) {
        DeleteFileA(saved.path.c_str());
        if (saved.existed) WriteFileBytes(saved.path, saved.bytes);
    }
}

bool WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok =
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) && written == bytes.size();
    CloseHandle(file);
    return ok;
}

std::vector<uint8_t> ReadFileBytes(const std::string& path) {
    std::vector<uint8_t> bytes;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return bytes;
    bytes.resize(GetFileSize(file, nullptr));
    DWORD got = 0;
    if (!bytes.empty() && !ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr)) got = 0;
    bytes.resize(got);
    CloseHandle(file);
    return bytes;
}

std::vector<uint8_t> KeyFileImage(const pz::KeySetRecord& record, size_t size) {
    std::vector<uint8_t> image = {'R', 'S', 'V', 'D'};
    pz::StoreKeyFile(record, image);
    image.resize(size);
    return image;
}

KeyLibrary::KeyLibrary(const char* fileName) {
    module = LoadLibraryA(simtest::ProgramPath(fileName).c_str());
    if (module == nullptr) return;
    initVirtual = Export<decltype(initVirtual)>(module, "InitKtVirtualHIDDev");
    setAppWindow = Export<decltype(setAppWindow)>(module, "SetPzApphWnd");
    initTablet = Export<decltype(initTablet)>(module, "InitKtTabletHIDDev");
    keyEvent = Export<decltype(keyEvent)>(module, "KtKeyEvent");
    startDevService = Export<decltype(startDevService)>(module, "StartDevService");
}

KeyLibrary::~KeyLibrary() {
    if (module != nullptr) FreeLibrary(module);
}

bool KeyLibrary::Loaded() const {
    return module != nullptr && initVirtual != nullptr && setAppWindow != nullptr && initTablet != nullptr &&
           keyEvent != nullptr && startDevService != nullptr;
}

KeySetBlockView::KeySetBlockView() {
    mapping_ = OpenFileMappingA(FILE_MAP_READ | FILE_MAP_WRITE, FALSE, pz::kKeySetBlockName);
    if (mapping_ == nullptr) return;
    record_ = static_cast<pz::KeySetRecord*>(MapViewOfFile(mapping_, FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, 0));
}

KeySetBlockView::~KeySetBlockView() {
    if (record_ != nullptr) UnmapViewOfFile(record_);
    if (mapping_ != nullptr) CloseHandle(mapping_);
}

pz::KeyAction Keys(uint8_t b0, uint8_t b1, uint8_t b2) {
    return pz::KeyAction{{b0, b1, b2, 0}};
}

pz::KeyAction Code(uint8_t actionCode) {
    return pz::KeyAction{{0xFF, 0xFF, 0xFF, actionCode}};
}

std::string Report(uint8_t group1, uint8_t group2) {
    return RawReport(0x55, group1, 0xAA, group2);
}

std::string RawReport(uint8_t b1, uint8_t b2, uint8_t b3, uint8_t b4) {
    char line[32];
    std::snprintf(line, sizeof line, "00 %02X %02X %02X %02X\n", b1, b2, b3, b4);
    return line;
}

simtest::DeviceSpec Keypad(unsigned index) {
    simtest::DeviceSpec spec;
    spec.index = index;
    spec.productId = 0x8501;
    spec.reportLength = 5;
    return spec;
}

simtest::Child* PlugDevice(const simtest::DeviceSpec& spec, const std::string& script) {
    simtest::Child* device = simtest::StartDevice(spec, script);
    const std::string pipe = pzsim::SimHidPipeName(spec.index);
    for (int i = 0; i < 250 && !WaitNamedPipeA(pipe.c_str(), NMPWAIT_USE_DEFAULT_WAIT); ++i) Sleep(20);
    return device;
}

std::vector<std::string> KeyStrokes(const simtest::KeyRecorder& recorder) {
    std::vector<std::string> strokes;
    for (const simtest::KeyRecord& record : recorder.Injected()) {
        const bool down = record.message == WM_KEYDOWN || record.message == WM_SYSKEYDOWN;
        char text[8];
        std::snprintf(text, sizeof text, "%c%02lX", down ? '+' : '-', FoldModifier(record.virtualKey));
        strokes.push_back(text);
    }
    return strokes;
}

std::vector<int> WheelDeltas(const simtest::MouseRecorder& recorder) {
    std::vector<int> deltas;
    for (const simtest::MouseRecord& record : recorder.Injected(WM_MOUSEWHEEL))
        deltas.push_back(static_cast<short>(HIWORD(record.mouseData)));
    return deltas;
}

std::vector<WPARAM> ButtonMessages(const simtest::MouseRecorder& recorder) {
    std::vector<WPARAM> messages;
    for (const simtest::MouseRecord& record : recorder.Records())
        if (record.injected && record.message != WM_MOUSEMOVE && record.message != WM_MOUSEWHEEL)
            messages.push_back(record.message);
    return messages;
}

void ReleaseModifiers() {
    for (BYTE key : {VK_CONTROL, VK_MENU, VK_SHIFT}) keybd_event(key, 0, KEYEVENTF_KEYUP, 0);
}

void PumpMessages(DWORD ms) {
    const DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        Sleep(10);
    } while (GetTickCount() - start < ms);
}

}  // namespace keytest
