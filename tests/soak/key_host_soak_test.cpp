// The key host with its keypad unplugged and plugged back again and again: each plug is found by the
// next search, each key press reaches the desktop, and the host keeps the threads and handles it had.
#include <gtest/gtest.h>
#include <windows.h>

#include <tlhelp32.h>

#include <memory>
#include <string>

#include "key_test_support.h"
#include "process_footprint.h"
#include "sim_tablet_harness.h"
#include "soak_count.h"

namespace {

using simtest::Child;

constexpr char kHostProgram[] = "PzKeyHost-sim.exe";
constexpr DWORD kFoundAgainMs = 6000 + 3000;  // one search interval and the start of the next

DWORD ProcessIdOf(const char* exeName) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    DWORD id = 0;
    for (BOOL more = Process32First(snapshot, &entry); more && id == 0; more = Process32Next(snapshot, &entry))
        if (lstrcmpiA(entry.szExeFile, exeName) == 0) id = entry.th32ProcessID;
    CloseHandle(snapshot);
    return id;
}

std::string HostCommand(const char* arguments) {
    return "\"" + simtest::ProgramPath(kHostProgram) + "\"" + arguments;
}

TEST(KeyHostSoak, KeypadUnpluggedAndPluggedAgainIsServedEveryTimeWithoutLeaks) {
    const int cycles = soak::Repetitions(3, 20);
    keytest::KeyFileBackup backup;  // the host starts from the default keys: key 1 is Ctrl
    Child(HostCommand(" /stop")).Wait(5000);
    simtest::KeyRecorder recorder;
    Child host(HostCommand(""));
    DWORD hostId = 0;
    for (int i = 0; i < 100 && hostId == 0; ++i, Sleep(50)) hostId = ProcessIdOf(kHostProgram);
    ASSERT_NE(hostId, 0u);
    HANDLE process = OpenProcess(PROCESS_DUP_HANDLE | PROCESS_QUERY_INFORMATION, FALSE, hostId);
    ASSERT_NE(process, nullptr);

    simtest::Footprint base, after;
    for (int cycle = 0; cycle < cycles; ++cycle) {
        std::unique_ptr<Child> keypad(keytest::PlugDevice(
            keytest::Keypad(), keytest::Report(0xA0) + keytest::Report(0xA1) + keytest::Report(0xA0) + "wait 200\n"));
        // The keypad plays its press once the host opened it, then goes: an unplug.
        ASSERT_EQ(keypad->Wait(kFoundAgainMs + 2000), 0u) << "cycle " << cycle << ": the keypad was not found";
        const size_t expected = 2 * static_cast<size_t>(cycle + 1);
        for (int i = 0; i < 40 && keytest::KeyStrokes(recorder).size() < expected; ++i) keytest::PumpMessages(50);
        ASSERT_EQ(keytest::KeyStrokes(recorder).size(), expected) << "cycle " << cycle;
        EXPECT_EQ(keytest::KeyStrokes(recorder).back(), "-11") << "cycle " << cycle;
        if (cycle == 0) base = simtest::SettledFootprint(process, hostId, 4000);
    }
    after = simtest::SettledFootprint(process, hostId, 4000);
    EXPECT_EQ(after.threads, base.threads);
    EXPECT_EQ(after.handles, base.handles);
    std::printf("key host soak: %d unplugs and plugs; threads %lu -> %lu, handles %lu -> %lu\n", cycles,
                static_cast<unsigned long>(base.threads), static_cast<unsigned long>(after.threads),
                static_cast<unsigned long>(base.handles), static_cast<unsigned long>(after.handles));
    CloseHandle(process);
    Child(HostCommand(" /stop")).Wait(5000);
    EXPECT_NE(host.Wait(5000), static_cast<DWORD>(STILL_ACTIVE));
    keytest::ReleaseModifiers();
}

}  // namespace
