#include "key_file_io.h"

#include <windows.h>

#include <vector>

#include "key_file.h"
#include "key_file_location.h"
#include "object_names.h"
#include "service_object_open.h"

namespace ktkey {

std::string KeyFilePath() {
    char directory[MAX_PATH] = {};
    const UINT length = KeyFileDirectoryFor(pz::OsMajorVersion()) == KeyFileDirectory::kSystem
                            ? GetSystemDirectoryA(directory, MAX_PATH)
                            : GetWindowsDirectoryA(directory, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return std::string();
    return std::string(directory) + pz::kKeyFileName;
}

bool LoadKeyFileInto(pz::KeySetRecord& record) {
    const std::string path = KeyFilePath();
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    uint8_t bytes[pz::kKeyFileSize];
    DWORD total = 0;
    DWORD got = 0;
    while (total < sizeof bytes && ReadFile(file, bytes + total, sizeof bytes - total, &got, nullptr) && got != 0)
        total += got;
    CloseHandle(file);
    return pz::LoadKeyFile(bytes, total, record);
}

bool WriteKeyFile(const pz::KeySetRecord& record) {
    const std::string path = KeyFilePath();
    // Readers are let in too: a reader holding the file at this moment would otherwise lose the save.
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    const pz::KeySetRecord snapshot = record;
    DWORD written = 0;
    const bool ok = SetFilePointer(file, pz::kKeyFileReservedBytes, nullptr, FILE_BEGIN) != INVALID_SET_FILE_POINTER &&
                    WriteFile(file, &snapshot, sizeof snapshot, &written, nullptr) && written == sizeof snapshot;
    CloseHandle(file);
    return ok;
}

bool EnsureKeyFile() {
    const std::string path = KeyFilePath();
    if (path.empty()) return false;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    const std::vector<uint8_t> image = pz::DefaultKeyFile();
    DWORD written = 0;
    const bool ok =
        WriteFile(file, image.data(), static_cast<DWORD>(image.size()), &written, nullptr) && written == image.size();
    CloseHandle(file);
    if (!ok) DeleteFileA(path.c_str());  // a short file would load as the defaults anyway; keep none
    return ok;
}

}  // namespace ktkey
