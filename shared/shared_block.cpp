#include "shared_block.h"

#include "object_security.h"

namespace pz {

HANDLE CreateSharedBlock(const char* name, DWORD size) {
    HANDLE mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, &ObjectSecurity, PAGE_READWRITE, 0, size, name);
    if (mapping == nullptr) mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, size, name);
    return mapping;
}

}  // namespace pz
