#include "wintab_library_check.h"

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "object_names.h"

namespace pz {
namespace {

std::string InDirectory(UINT(WINAPI* directoryOf)(LPSTR, UINT), const char* fileName) {
    char directory[MAX_PATH] = {};
    directoryOf(directory, MAX_PATH);
    return std::string(directory) + fileName;
}

}  // namespace

bool IsMakersLibrary(const char* path) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path, &ignored);
    if (size == 0) return false;
    // Sized from the file, so a large version resource is read whole.
    std::vector<char> buffer(size);
    if (!GetFileVersionInfoA(path, 0, size, buffer.data())) return false;
    char* company = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(buffer.data(), "\\StringFileInfo\\080404b0\\CompanyName", reinterpret_cast<void**>(&company),
                        &length) ||
        company == nullptr)
        return false;
    return std::strncmp(company, kMakerCompanyName, sizeof kMakerCompanyName - 1) == 0;
}

void EnsureWintabLibraryAt(const char* installedPath, const char* sparePath) {
    if (!IsMakersLibrary(installedPath)) CopyFileA(sparePath, installedPath, FALSE);
}

void EnsureWintabLibrary() {
    const std::string installed = InDirectory(GetSystemDirectoryA, kWintabLibraryName);
    const std::string spare = InDirectory(GetWindowsDirectoryA, kSpareWintabLibraryName);
    EnsureWintabLibraryAt(installed.c_str(), spare.c_str());
}

}  // namespace pz
