#include "atomic_file_write.h"

#include <string>

namespace pz {
namespace {

bool WriteFlushed(const std::string& path, const void* bytes, DWORD size) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = WriteFile(file, bytes, size, &written, nullptr) && written == size && FlushFileBuffers(file);
    CloseHandle(file);
    return ok;
}

}  // namespace

bool ReplaceFileAtomically(const char* path, const void* bytes, DWORD size) {
    const std::string temporary = std::string(path) + ".new";
    if (WriteFlushed(temporary, bytes, size) &&
        MoveFileExA(temporary.c_str(), path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    DeleteFileA(temporary.c_str());
    return false;
}

}  // namespace pz
