#include "object_security.h"

namespace pz {

SECURITY_ATTRIBUTES ObjectSecurity{};

namespace {

void* HeapZeroAlloc(DWORD size) {
    return HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, size);
}

void HeapRelease(void* memory) {
    if (memory != nullptr) HeapFree(GetProcessHeap(), 0, memory);
}

// S-1-1-0 in a caller's buffer.
struct EveryoneSid {
    EveryoneSid() {
        SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
        InitializeSid(sid(), &world, 1);
        *GetSidSubAuthority(sid(), 0) = SECURITY_WORLD_RID;
    }
    PSID sid() { return buffer; }
    BYTE buffer[SECURITY_MAX_SID_SIZE] = {};
};

// The current process's security descriptor with its DACL, on the heap; nullptr on failure.
PSECURITY_DESCRIPTOR ReadProcessDacl() {
    DWORD needed = 0;
    GetKernelObjectSecurity(GetCurrentProcess(), DACL_SECURITY_INFORMATION, nullptr, 0, &needed);
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || needed == 0) return nullptr;
    PSECURITY_DESCRIPTOR descriptor = HeapZeroAlloc(needed);
    if (descriptor == nullptr) return nullptr;
    if (!GetKernelObjectSecurity(GetCurrentProcess(), DACL_SECURITY_INFORMATION, descriptor, needed, &needed)) {
        HeapRelease(descriptor);
        return nullptr;
    }
    return descriptor;
}

bool IsEveryoneEntry(const ACE_HEADER* entry, PSID everyone) {
    if (entry->AceType != ACCESS_ALLOWED_ACE_TYPE) return false;
    const auto* allowed = reinterpret_cast<const ACCESS_ALLOWED_ACE*>(entry);
    return EqualSid(const_cast<DWORD*>(&allowed->SidStart), everyone) != FALSE;
}

// A heap ACL with the entries of `source` (which may be absent) in their order, except Everyone's,
// followed by one entry allowing Everyone `access`.
PACL AppendEveryone(PACL source, PSID everyone, DWORD access) {
    ACL_SIZE_INFORMATION info{};
    info.AclBytesInUse = sizeof(ACL);
    if (source != nullptr && !GetAclInformation(source, &info, sizeof info, AclSizeInformation)) return nullptr;
    const DWORD size = info.AclBytesInUse + sizeof(ACCESS_ALLOWED_ACE) - sizeof(DWORD) + GetLengthSid(everyone);
    auto* acl = static_cast<PACL>(HeapZeroAlloc(size));
    if (acl == nullptr) return nullptr;
    bool ok = InitializeAcl(acl, size, ACL_REVISION) != FALSE;
    for (DWORD i = 0; ok && source != nullptr && i < info.AceCount; ++i) {
        void* entry = nullptr;
        ok = GetAce(source, i, &entry) != FALSE;
        auto* header = static_cast<ACE_HEADER*>(entry);
        if (ok && !IsEveryoneEntry(header, everyone)) ok = AddAce(acl, ACL_REVISION, MAXDWORD, entry, header->AceSize);
    }
    if (ok) ok = AddAccessAllowedAce(acl, ACL_REVISION, access, everyone) != FALSE;
    if (ok) return acl;
    HeapRelease(acl);
    return nullptr;
}

// An absolute descriptor pointing at `dacl`.
bool DescribeDacl(SECURITY_DESCRIPTOR& descriptor, PACL dacl) {
    return InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION) &&
           SetSecurityDescriptorDacl(&descriptor, TRUE, dacl, FALSE);
}

// A self-relative heap copy of a descriptor holding just `dacl`, which stays valid after the ACL is freed.
PSECURITY_DESCRIPTOR SelfRelativeDescriptor(PACL dacl) {
    SECURITY_DESCRIPTOR absolute;
    if (!DescribeDacl(absolute, dacl)) return nullptr;
    DWORD size = 0;
    MakeSelfRelativeSD(&absolute, nullptr, &size);
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || size == 0) return nullptr;
    PSECURITY_DESCRIPTOR relative = HeapZeroAlloc(size);
    if (relative != nullptr && MakeSelfRelativeSD(&absolute, relative, &size)) return relative;
    HeapRelease(relative);
    return nullptr;
}

// Runs `use` on the process's DACL (nullptr when it has none) and the Everyone SID.
template <typename Use>
bool WithProcessDacl(Use use) {
    EveryoneSid everyone;
    PSECURITY_DESCRIPTOR current = ReadProcessDacl();
    if (current == nullptr) return false;
    BOOL present = FALSE, defaulted = FALSE;
    PACL dacl = nullptr;
    bool ok = GetSecurityDescriptorDacl(current, &present, &dacl, &defaulted) != FALSE;
    if (ok) ok = use(present ? dacl : nullptr, everyone.sid());
    HeapRelease(current);
    return ok;
}

bool SetProcessEveryoneAccess(PACL dacl, PSID everyone, DWORD access) {
    PACL widened = AppendEveryone(dacl, everyone, access);
    if (widened == nullptr) return false;
    SECURITY_DESCRIPTOR descriptor;
    const bool ok = DescribeDacl(descriptor, widened) &&
                    SetKernelObjectSecurity(GetCurrentProcess(), DACL_SECURITY_INFORMATION, &descriptor);
    HeapRelease(widened);
    return ok;
}

bool FillObjectSecurity(SECURITY_ATTRIBUTES& attributes, PACL dacl, PSID everyone, DWORD access) {
    PACL objectDacl = AppendEveryone(dacl, everyone, access);
    if (objectDacl == nullptr) return false;
    PSECURITY_DESCRIPTOR descriptor = SelfRelativeDescriptor(objectDacl);
    HeapRelease(objectDacl);
    if (descriptor == nullptr) return false;
    FreeObjectSecurity(attributes);
    attributes.nLength = sizeof attributes;
    attributes.lpSecurityDescriptor = descriptor;
    attributes.bInheritHandle = FALSE;
    return true;
}

}  // namespace

bool WidenObjectSecurity(SECURITY_ATTRIBUTES& attributes, DWORD processAccess, DWORD objectAccess) {
    // The object descriptor is built from the same DACL the process had, not from the widened one.
    return WithProcessDacl([&](PACL dacl, PSID everyone) {
        return SetProcessEveryoneAccess(dacl, everyone, processAccess) &&
               FillObjectSecurity(attributes, dacl, everyone, objectAccess);
    });
}

bool BuildObjectSecurity(SECURITY_ATTRIBUTES& attributes, DWORD objectAccess) {
    return WithProcessDacl(
        [&](PACL dacl, PSID everyone) { return FillObjectSecurity(attributes, dacl, everyone, objectAccess); });
}

void FreeObjectSecurity(SECURITY_ATTRIBUTES& attributes) {
    HeapRelease(attributes.lpSecurityDescriptor);
    attributes = SECURITY_ATTRIBUTES{};
}

}  // namespace pz
