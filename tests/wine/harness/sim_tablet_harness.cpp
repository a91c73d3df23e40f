#include "sim_tablet_harness.h"

#include <cstdio>

namespace simtest {
namespace {

std::mutex g_recordLock;
std::vector<MouseRecord> g_records;
std::mutex g_keyRecordLock;
std::vector<KeyRecord> g_keyRecords;

}  // namespace

MouseRecorder::MouseRecorder() {
    {
        std::lock_guard<std::mutex> lock(g_recordLock);
        g_records.clear();
    }
    ready_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    thread_ = CreateThread(nullptr, 0, Thread, this, 0, &threadId_);
    WaitForSingleObject(ready_, 10000);
}

MouseRecorder::~MouseRecorder() {
    PostThreadMessageA(threadId_, WM_QUIT, 0, 0);
    WaitForSingleObject(thread_, 10000);
    CloseHandle(thread_);
    CloseHandle(ready_);
}

DWORD WINAPI MouseRecorder::Thread(void* parameter) {
    auto* recorder = static_cast<MouseRecorder*>(parameter);
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);  // the thread's queue exists before anyone posts
    HHOOK hook = SetWindowsHookExA(WH_MOUSE_LL, Hook, GetModuleHandleA(nullptr), 0);
    SetEvent(recorder->ready_);
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    if (hook != nullptr) UnhookWindowsHookEx(hook);
    return 0;
}

LRESULT CALLBACK MouseRecorder::Hook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION) {
        const auto* info = reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam);
        std::lock_guard<std::mutex> lock(g_recordLock);
        g_records.push_back({wParam, info->pt, (info->flags & LLMHF_INJECTED) != 0, GetTickCount(), info->mouseData});
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

std::vector<MouseRecord> MouseRecorder::Records() const {
    std::lock_guard<std::mutex> lock(g_recordLock);
    return g_records;
}

std::vector<MouseRecord> MouseRecorder::Injected(WPARAM message) const {
    std::vector<MouseRecord> result;
    for (const MouseRecord& record : Records())
        if (record.injected && record.message == message) result.push_back(record);
    return result;
}

bool MouseRecorder::WaitFor(WPARAM message, DWORD timeoutMs) const {
    const DWORD start = GetTickCount();
    while (Injected(message).empty()) {
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(20);
    }
    return true;
}

KeyRecorder::KeyRecorder() {
    {
        std::lock_guard<std::mutex> lock(g_keyRecordLock);
        g_keyRecords.clear();
    }
    ready_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    thread_ = CreateThread(nullptr, 0, Thread, this, 0, &threadId_);
    WaitForSingleObject(ready_, 10000);
}

KeyRecorder::~KeyRecorder() {
    PostThreadMessageA(threadId_, WM_QUIT, 0, 0);
    WaitForSingleObject(thread_, 10000);
    CloseHandle(thread_);
    CloseHandle(ready_);
}

DWORD WINAPI KeyRecorder::Thread(void* parameter) {
    auto* recorder = static_cast<KeyRecorder*>(parameter);
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
    HHOOK hook = SetWindowsHookExA(WH_KEYBOARD_LL, Hook, GetModuleHandleA(nullptr), 0);
    SetEvent(recorder->ready_);
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    if (hook != nullptr) UnhookWindowsHookEx(hook);
    return 0;
}

LRESULT CALLBACK KeyRecorder::Hook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION) {
        const auto* info = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
        std::lock_guard<std::mutex> lock(g_keyRecordLock);
        g_keyRecords.push_back({wParam, info->vkCode, (info->flags & LLKHF_INJECTED) != 0, GetTickCount()});
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

std::vector<KeyRecord> KeyRecorder::Injected() const {
    std::lock_guard<std::mutex> lock(g_keyRecordLock);
    std::vector<KeyRecord> result;
    for (const KeyRecord& record : g_keyRecords)
        if (record.injected) result.push_back(record);
    return result;
}

Child::Child(const std::string& commandLine) {
    std::string line = commandLine;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        CloseHandle(process.hThread);
        process_ = process.hProcess;
    }
}

Child::~Child() {
    if (process_ == nullptr) return;
    if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_, 99);
        WaitForSingleObject(process_, 10000);
    }
    CloseHandle(process_);
}

DWORD Child::Wait(DWORD timeoutMs) {
    DWORD code = STILL_ACTIVE;
    if (process_ != nullptr && WaitForSingleObject(process_, timeoutMs) == WAIT_OBJECT_0)
        GetExitCodeProcess(process_, &code);
    return code;
}

std::string ProgramPath(const char* fileName) {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string directory(path);
    return directory.substr(0, directory.find_last_of('\\') + 1) + fileName;
}

void EnsureSettingsFile() {
    char directory[MAX_PATH];
    GetSystemDirectoryA(directory, MAX_PATH);
    const std::string path = std::string(directory) + "\\PzTablet.cfg";
    if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) return;
    const uint16_t image[8] = {100, 0, 0, 0, 0, 0, 10206, 7422};
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, image, sizeof image, &written, nullptr);
    CloseHandle(file);
}

Child* StartDevice(const DeviceSpec& spec, const std::string& script) {
    char directory[MAX_PATH];
    GetTempPathA(MAX_PATH, directory);
    char path[MAX_PATH];
    GetTempFileNameA(directory, "sim", 0, path);
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, script.data(), static_cast<DWORD>(script.size()), &written, nullptr);
    CloseHandle(file);
    char options[256];
    std::snprintf(options, sizeof options,
                  " --index %u --vid 0x%X --pid 0x%X --usage-page 0x%X --usage %u --report-length %u --hold %u ",
                  spec.index, spec.vendorId, spec.productId, spec.usagePage, spec.usage, spec.reportLength,
                  spec.holdMs);
    return new Child("\"" + ProgramPath("simhid.exe") + "\"" + options + "\"" + path + "\"");
}

bool WaitUntilPlugged(unsigned index, DWORD timeoutMs) {
    const std::string pipe = "\\\\.\\pipe\\PzSimHid" + std::to_string(index);  // see sim_hid_contract.h
    const DWORD start = GetTickCount();
    while (!WaitNamedPipeA(pipe.c_str(), NMPWAIT_USE_DEFAULT_WAIT)) {
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(20);
    }
    return true;
}

std::string Report8(unsigned status, unsigned x, unsigned y, unsigned pressure) {
    char line[64];
    std::snprintf(line, sizeof line, "02 %02x %02x %02x %02x %02x %02x %02x\n", status, x & 0xFF, x >> 8, y & 0xFF,
                  y >> 8, pressure & 0xFF, pressure >> 8);
    return line;
}

POINT ExpectedPoint(unsigned x, unsigned y) {
    const long dx = static_cast<long>((x * 65535 + 5103) / 10206);
    const long dy = static_cast<long>((y * 65535 + 3711) / 7422);
    const long width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
    const long height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    return POINT{GetSystemMetrics(SM_XVIRTUALSCREEN) + dx * width / 65536,
                 GetSystemMetrics(SM_YVIRTUALSCREEN) + dy * height / 65536};
}

}  // namespace simtest
