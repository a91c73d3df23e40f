// Creation of the named shared-memory blocks that the services publish to other sessions and accounts.
#pragma once

#include <windows.h>

namespace pz {

// Creates (or opens, when it already exists) a read/write block of `size` bytes backed by the paging file:
// first with ObjectSecurity, so that other sessions and accounts can map it, then with default security,
// which still serves programs of the same account and session. Returns the mapping handle or nullptr.
HANDLE CreateSharedBlock(const char* name, DWORD size);

}  // namespace pz
