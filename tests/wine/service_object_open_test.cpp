// The name rule on the real object namespace, under Wine's "winxp" and "win7" versions: a child process
// started under each version opens what the parent created under one or both name forms.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "service_object_open.h"

namespace {

constexpr int kChildCannotOpen = 99;

std::string BaseName() {
    return "PzNameRuleTest" + std::to_string(GetCurrentProcessId());
}

// Child: open the block by the version rule and report the major version and the block's marker byte;
// then set the event, opened by its bare name as the pen page does.
int RunChild(const std::string& base) {
    const unsigned major = pz::OsMajorVersion();
    HANDLE event = pz::OpenServiceObject(pz::ServiceObjectKind::kEvent, (base + "Save").c_str(), EVENT_MODIFY_STATE);
    if (event != nullptr) {
        SetEvent(event);
        CloseHandle(event);
    }
    HANDLE mapping = pz::OpenServiceObject(pz::ServiceObjectKind::kMapping, pz::NameForThisSystem(base.c_str()).c_str(),
                                           FILE_MAP_READ | FILE_MAP_WRITE);
    if (mapping == nullptr) return static_cast<int>(major * 100 + kChildCannotOpen);
    auto* marker = static_cast<uint8_t*>(MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0));
    const int code = static_cast<int>(major * 100 + (marker ? *marker : kChildCannotOpen));
    if (marker) UnmapViewOfFile(marker);
    CloseHandle(mapping);
    return code;
}

DWORD RunChildProcess(const std::string& base) {
    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string command = std::string("\"") + exe + "\" --child " + base;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return 100000 + GetLastError();
    WaitForSingleObject(process.hProcess, 30000);
    DWORD code = 200000;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
}

// Sets HKCU\Software\Wine\Version for the processes started meanwhile and puts the old value back.
class WineVersion {
  public:
    explicit WineVersion(const char* version) {
        RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_, nullptr);
        char old[64] = {};
        DWORD size = sizeof old - 1;
        DWORD type = 0;
        hadValue_ =
            RegQueryValueExA(key_, "Version", nullptr, &type, reinterpret_cast<BYTE*>(old), &size) == ERROR_SUCCESS &&
            type == REG_SZ;
        old_ = old;
        RegSetValueExA(key_, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version),
                       static_cast<DWORD>(std::strlen(version) + 1));
    }
    ~WineVersion() {
        if (hadValue_)
            RegSetValueExA(key_, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(old_.c_str()),
                           static_cast<DWORD>(old_.size() + 1));
        else
            RegDeleteValueA(key_, "Version");
        RegCloseKey(key_);
    }

  private:
    HKEY key_ = nullptr;
    bool hadValue_ = false;
    std::string old_;
};

// A block holding one marker byte.
struct MarkedBlock {
    MarkedBlock(const std::string& name, uint8_t marker) {
        mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 64, name.c_str());
        EXPECT_NE(mapping, nullptr);
        auto* view = static_cast<uint8_t*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 0));
        *view = marker;
        UnmapViewOfFile(view);
    }
    ~MarkedBlock() { CloseHandle(mapping); }
    HANDLE mapping;
};

struct RuleCase {
    const char* name;
    const char* version;
    unsigned major;
    bool global, bare;  // which forms of the block exist; the global one holds 1, the bare one 2
    int expectedMarker;
};

void PrintTo(const RuleCase& c, std::ostream* out) {
    *out << c.name;
}

class NameRuleUnderWine : public ::testing::TestWithParam<RuleCase> {};

TEST_P(NameRuleUnderWine, TheChildOpensTheExpectedFormAndFallsBackToTheOther) {
    const RuleCase c = GetParam();
    const std::string base = BaseName() + c.name;
    std::vector<std::unique_ptr<MarkedBlock>> blocks;
    if (c.global) blocks.push_back(std::make_unique<MarkedBlock>("Global\\" + base, 1));
    if (c.bare) blocks.push_back(std::make_unique<MarkedBlock>(base, 2));
    // The save event exists only under "Global\", as a session 0 service creates it.
    HANDLE save = CreateEventA(nullptr, TRUE, FALSE, ("Global\\" + base + "Save").c_str());
    ASSERT_NE(save, nullptr);

    DWORD code;
    {
        WineVersion version(c.version);
        code = RunChildProcess(base);
    }
    EXPECT_EQ(code, c.major * 100 + c.expectedMarker);
    EXPECT_EQ(WaitForSingleObject(save, 0), WAIT_OBJECT_0) << "the bare event name reaches the global event";
    CloseHandle(save);
}

INSTANTIATE_TEST_SUITE_P(Versions, NameRuleUnderWine,
                         ::testing::Values(RuleCase{"XpGlobalOnly", "winxp", 5, true, false, 1},
                                           RuleCase{"XpBareOnly", "winxp", 5, false, true, 2},
                                           RuleCase{"XpBothPrefersGlobal", "winxp", 5, true, true, 1},
                                           RuleCase{"XpNeither", "winxp", 5, false, false, kChildCannotOpen},
                                           RuleCase{"Win7GlobalOnly", "win7", 6, true, false, 1},
                                           RuleCase{"Win7BareOnly", "win7", 6, false, true, 2},
                                           RuleCase{"Win7BothPrefersBare", "win7", 6, true, true, 2},
                                           RuleCase{"Win7Neither", "win7", 6, false, false, kChildCannotOpen}),
                         [](const ::testing::TestParamInfo<RuleCase>& info) { return std::string(info.param.name); });

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--child") == 0) return RunChild(argv[2]);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
