// The DACLs that the widened object security leaves on the process and on the blocks created with it,
// read back through the real security API.
#include <windows.h>

#include <sddl.h>  // after windows.h, which it needs

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "object_security.h"
#include "shared_block.h"

namespace {

constexpr DWORD kAllProcessAccess = 0x1F0FFF;

struct Entry {
    BYTE type;
    DWORD mask;
    std::string sid;
    bool operator==(const Entry& o) const { return type == o.type && mask == o.mask && sid == o.sid; }
};

std::ostream& operator<<(std::ostream& out, const Entry& e) {
    return out << "{type " << int(e.type) << ", mask 0x" << std::hex << e.mask << std::dec << ", " << e.sid << "}";
}

std::string SidText(PSID sid) {
    char* text = nullptr;
    if (!ConvertSidToStringSidA(sid, &text)) return "?";
    std::string result = text;
    LocalFree(text);
    return result;
}

// The DACL of a kernel object as entries; `present` is false for a descriptor without one.
std::vector<Entry> ReadDacl(HANDLE object, bool* isNull = nullptr) {
    DWORD needed = 0;
    GetKernelObjectSecurity(object, DACL_SECURITY_INFORMATION, nullptr, 0, &needed);
    std::vector<BYTE> buffer(needed);
    EXPECT_TRUE(GetKernelObjectSecurity(object, DACL_SECURITY_INFORMATION, buffer.data(), needed, &needed));
    BOOL present = FALSE, defaulted = FALSE;
    PACL dacl = nullptr;
    EXPECT_TRUE(GetSecurityDescriptorDacl(buffer.data(), &present, &dacl, &defaulted));
    if (isNull) *isNull = !present || dacl == nullptr;
    std::vector<Entry> entries;
    for (DWORD i = 0; dacl != nullptr && i < dacl->AceCount; ++i) {
        void* ace = nullptr;
        EXPECT_TRUE(GetAce(dacl, i, &ace));
        auto* allowed = static_cast<ACCESS_ALLOWED_ACE*>(ace);
        entries.push_back({allowed->Header.AceType, allowed->Mask, SidText(&allowed->SidStart)});
    }
    return entries;
}

// Replaces the test process's DACL: entries given as SDDL SIDs, or no DACL at all when `none` is set.
void SetProcessDacl(const std::vector<Entry>& entries, bool none = false) {
    std::vector<BYTE> aclBuffer(1024);
    auto* acl = reinterpret_cast<PACL>(aclBuffer.data());
    ASSERT_TRUE(InitializeAcl(acl, static_cast<DWORD>(aclBuffer.size()), ACL_REVISION));
    for (const Entry& e : entries) {
        PSID sid = nullptr;
        ASSERT_TRUE(ConvertStringSidToSidA(e.sid.c_str(), &sid));
        ASSERT_TRUE(AddAccessAllowedAce(acl, ACL_REVISION, e.mask, sid));
        LocalFree(sid);
    }
    SECURITY_DESCRIPTOR descriptor;
    ASSERT_TRUE(InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION));
    ASSERT_TRUE(SetSecurityDescriptorDacl(&descriptor, TRUE, none ? nullptr : acl, FALSE));
    ASSERT_TRUE(SetKernelObjectSecurity(GetCurrentProcess(), DACL_SECURITY_INFORMATION, &descriptor));
}

std::string BlockName(const char* what) {
    return std::string("PzSecurityTest") + what + std::to_string(GetCurrentProcessId());
}

const Entry kSystem{ACCESS_ALLOWED_ACE_TYPE, kAllProcessAccess, "S-1-5-18"};
const Entry kAdministrators{ACCESS_ALLOWED_ACE_TYPE, kAllProcessAccess, "S-1-5-32-544"};
const Entry kOldEveryone{ACCESS_ALLOWED_ACE_TYPE, kAllProcessAccess, "S-1-1-0"};

Entry Everyone(DWORD mask) {
    return {ACCESS_ALLOWED_ACE_TYPE, mask, "S-1-1-0"};
}

struct DaclCase {
    const char* name;
    bool noDacl;
    std::vector<Entry> before;
    std::vector<Entry> kept;  // the process's entries that survive, in order
};

void PrintTo(const DaclCase& c, std::ostream* out) {
    *out << c.name;
}

class WidenedSecurity : public ::testing::TestWithParam<DaclCase> {
  protected:
    void TearDown() override { pz::FreeObjectSecurity(pz::ObjectSecurity); }
};

TEST_P(WidenedSecurity, ProcessAndBlockGetTheirOwnEveryoneEntryAfterTheProcessEntries) {
    const DaclCase& c = GetParam();
    SetProcessDacl(c.before, c.noDacl);
    ASSERT_TRUE(pz::WidenObjectSecurity(pz::ObjectSecurity, pz::kTabletServiceProcessAccess, pz::kSharedBlockAccess));
    EXPECT_EQ(pz::ObjectSecurity.nLength, sizeof(SECURITY_ATTRIBUTES));
    EXPECT_FALSE(pz::ObjectSecurity.bInheritHandle);

    std::vector<Entry> process = c.kept;
    process.push_back(Everyone(PROCESS_DUP_HANDLE | SYNCHRONIZE));
    EXPECT_EQ(ReadDacl(GetCurrentProcess()), process);

    HANDLE block = pz::CreateSharedBlock(BlockName(c.name).c_str(), 512);
    ASSERT_NE(block, nullptr);
    std::vector<Entry> blockEntries = c.kept;
    blockEntries.push_back(Everyone(FILE_MAP_READ | FILE_MAP_WRITE));
    EXPECT_EQ(ReadDacl(block), blockEntries);
    CloseHandle(block);
}

INSTANTIATE_TEST_SUITE_P(
    ProcessDacls, WidenedSecurity,
    ::testing::Values(
        DaclCase{"NoDacl", true, {}, {}}, DaclCase{"Empty", false, {}, {}},
        DaclCase{"TwoEntries", false, {kSystem, kAdministrators}, {kSystem, kAdministrators}},
        // An earlier all-access Everyone entry is replaced, not kept beside the narrow one.
        DaclCase{"EarlierEveryone", false, {kSystem, kOldEveryone, kAdministrators}, {kSystem, kAdministrators}}),
    [](const ::testing::TestParamInfo<DaclCase>& info) { return std::string(info.param.name); });

TEST(ObjectSecurity, TheKeyServiceGrantsEveryoneOnlySynchronizeOnItsHost) {
    SetProcessDacl({kSystem});
    SECURITY_ATTRIBUTES attributes{};
    ASSERT_TRUE(pz::WidenObjectSecurity(attributes, pz::kKeyServiceProcessAccess, pz::kSharedBlockAccess));
    EXPECT_EQ(ReadDacl(GetCurrentProcess()), (std::vector<Entry>{kSystem, Everyone(SYNCHRONIZE)}));
    pz::FreeObjectSecurity(attributes);
    EXPECT_EQ(attributes.lpSecurityDescriptor, nullptr);
}

TEST(ObjectSecurity, BuildingObjectSecurityLeavesTheProcessAlone) {
    SetProcessDacl({kSystem, kAdministrators});
    SECURITY_ATTRIBUTES attributes{};
    ASSERT_TRUE(pz::BuildObjectSecurity(attributes, EVENT_MODIFY_STATE));
    EXPECT_EQ(ReadDacl(GetCurrentProcess()), (std::vector<Entry>{kSystem, kAdministrators}));
    HANDLE event = CreateEventA(&attributes, TRUE, FALSE, BlockName("Event").c_str());
    ASSERT_NE(event, nullptr);
    EXPECT_EQ(ReadDacl(event), (std::vector<Entry>{kSystem, kAdministrators, Everyone(EVENT_MODIFY_STATE)}));
    CloseHandle(event);
    pz::FreeObjectSecurity(attributes);
}

TEST(ObjectSecurity, ABlockIsStillCreatedWhenTheWidenedSecurityIsRefused) {
    BYTE invalidDescriptor[64] = {};  // revision 0: no valid descriptor
    pz::ObjectSecurity = {sizeof(SECURITY_ATTRIBUTES), invalidDescriptor, FALSE};
    ASSERT_EQ(CreateFileMappingA(INVALID_HANDLE_VALUE, &pz::ObjectSecurity, PAGE_READWRITE, 0, 512,
                                 BlockName("Refused").c_str()),
              nullptr);
    HANDLE block = pz::CreateSharedBlock(BlockName("Fallback").c_str(), 512);
    pz::ObjectSecurity = {};
    ASSERT_NE(block, nullptr);
    CloseHandle(block);
}

TEST(ObjectSecurity, TheZeroRecordCreatesWithDefaultSecurity) {
    ASSERT_EQ(pz::ObjectSecurity.lpSecurityDescriptor, nullptr);
    HANDLE block = pz::CreateSharedBlock(BlockName("Default").c_str(), 512);
    ASSERT_NE(block, nullptr);
    CloseHandle(block);
}

}  // namespace
