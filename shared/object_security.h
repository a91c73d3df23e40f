// Security of the kernel objects a service shares with the programs of every session and account.
#pragma once

#include <windows.h>

namespace pz {

// Attributes every creator of a shared block passes first. All zero until WidenObjectSecurity succeeds,
// which makes a creation with it behave like default security.
extern SECURITY_ATTRIBUTES ObjectSecurity;

}  // namespace pz
