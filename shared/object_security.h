// Security of the kernel objects a service shares with the programs of every session and account.
// The process itself gets an Everyone entry so that clients can reach it (the tablet service publishes
// handle values that Wintab clients duplicate out of it); every shared object gets a descriptor whose
// Everyone entry allows just what its openers do with it.
#pragma once

#include <windows.h>

namespace pz {

// What Everyone may do with the tablet service's process: duplicate the published handles and wait on it.
constexpr DWORD kTabletServiceProcessAccess = PROCESS_DUP_HANDLE | SYNCHRONIZE;
// The key service publishes no handles; its host process only becomes waitable.
constexpr DWORD kKeyServiceProcessAccess = SYNCHRONIZE;
// What Everyone may do with a shared block: map it for reading and writing, never change its security.
constexpr DWORD kSharedBlockAccess = FILE_MAP_READ | FILE_MAP_WRITE;

// Attributes every creator of a shared block passes first. All zero until WidenObjectSecurity succeeds,
// which makes a creation with it behave like default security.
extern SECURITY_ATTRIBUTES ObjectSecurity;

// Appends an Everyone entry allowing `processAccess` to the current process's DACL (an earlier Everyone
// entry is replaced, so a second call does not stack grants) and fills `attributes` with a descriptor
// holding the process's own entries plus Everyone allowed `objectAccess`. `attributes` must be zero or
// filled by this module; its old descriptor is freed. On failure returns false and leaves it as it was.
bool WidenObjectSecurity(SECURITY_ATTRIBUTES& attributes, DWORD processAccess, DWORD objectAccess);

// Fills `attributes` as WidenObjectSecurity does, without changing the process's DACL.
bool BuildObjectSecurity(SECURITY_ATTRIBUTES& attributes, DWORD objectAccess);

// Frees the descriptor of attributes filled here and zeroes them.
void FreeObjectSecurity(SECURITY_ATTRIBUTES& attributes);

}  // namespace pz
