// A named block created here is opened and changed by a child process: the harness runs on real
// cross-process kernel objects.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "records.h"

namespace {

constexpr int kChildOk = 0;
constexpr int kChildCannotOpen = 10;
constexpr int kChildWrongContent = 11;

std::string BlockName() {
    return "PzTestBlock" + std::to_string(GetCurrentProcessId());
}

// Child side: open the block by name, check what the parent wrote, answer in the block.
int RunChild(const char* name) {
    HANDLE mapping = OpenFileMappingA(FILE_MAP_READ | FILE_MAP_WRITE, FALSE, name);
    if (mapping == nullptr) return kChildCannotOpen;
    auto* block = static_cast<pz::ControlPanelBlock*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, 0));
    int result = kChildWrongContent;
    if (block != nullptr) {
        if (block->Record.PressureLevel == 100 && block->Record.AreaRight == 10206) {
            block->Record.AreaRight = 9000;  // the parent must see this
            result = kChildOk;
        }
        UnmapViewOfFile(block);
    }
    CloseHandle(mapping);
    return result;
}

DWORD RunChildProcess(const std::string& name) {
    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string command = std::string("\"") + exe + "\" --child " + name;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return 1000 + GetLastError();
    WaitForSingleObject(process.hProcess, 30000);
    DWORD code = 2000;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
}

TEST(NamedBlock, ChildProcessReadsAndWritesTheParentsBlock) {
    const std::string name = BlockName();
    HANDLE mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(pz::ControlPanelBlock),
                                        name.c_str());
    ASSERT_NE(mapping, nullptr);
    auto* block = static_cast<pz::ControlPanelBlock*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, 0));
    ASSERT_NE(block, nullptr);
    block->Record.PressureLevel = 100;
    block->Record.AreaRight = 10206;

    EXPECT_EQ(RunChildProcess(name), static_cast<DWORD>(kChildOk));
    EXPECT_EQ(block->Record.AreaRight, 9000);

    UnmapViewOfFile(block);
    CloseHandle(mapping);
}

TEST(NamedBlock, ChildCannotOpenABlockThatIsGone) {
    EXPECT_EQ(RunChildProcess(BlockName() + "Missing"), static_cast<DWORD>(kChildCannotOpen));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--child") == 0) return RunChild(argv[2]);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
