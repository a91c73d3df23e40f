#include "settings_link.h"

#include <string>

#include "object_names.h"
#include "settings_file.h"
#include "shared_block.h"

namespace pz {
namespace {

ControlPanelBlock* g_view = nullptr;
HANDLE g_mapping = nullptr;

// Reads the file, opened without sharing; false if it cannot be opened. A 16-byte file loads the core, a
// whole image written by the service also the user's other choices (see LoadSettingsFile).
bool ReadSettingsFile(const char* path, SettingsRecord& record) {
    HANDLE file = CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    uint8_t bytes[kSettingsFileSize] = {};
    DWORD read = 0;
    if (!ReadFile(file, bytes, sizeof bytes, &read, nullptr)) read = 0;
    CloseHandle(file);
    LoadSettingsFile(bytes, read, record);
    return true;
}

bool CreateBlock() {
    if (g_view != nullptr) return true;
    if (g_mapping == nullptr) g_mapping = CreateSharedBlock(kControlPanelBlockName, kControlPanelBlockSize);
    if (g_mapping == nullptr) return false;
    g_view = static_cast<ControlPanelBlock*>(MapViewOfFile(g_mapping, FILE_MAP_ALL_ACCESS, 0, 0, 0));
    if (g_view == nullptr) return false;
    g_view->ServerProcessId = GetCurrentProcessId();
    g_view->ServerMappingHandle = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(g_mapping));
    return true;
}

}  // namespace

bool OpenSettingsLinkFrom(const char* settingsPath) {
    if (!CreateBlock()) return false;
    return ReadSettingsFile(settingsPath, g_view->Record);
}

std::string SettingsFilePath() {
    char directory[MAX_PATH] = {};
    GetSystemDirectoryA(directory, MAX_PATH);
    return std::string(directory) + kSettingsFileName;
}

bool OpenSettingsLink() {
    return OpenSettingsLinkFrom(SettingsFilePath().c_str());
}

void CloseSettingsLink() {
    if (g_view != nullptr) UnmapViewOfFile(g_view);
    if (g_mapping != nullptr) CloseHandle(g_mapping);
    g_view = nullptr;
    g_mapping = nullptr;
}

ControlPanelBlock* SettingsView() {
    return g_view;
}

}  // namespace pz
