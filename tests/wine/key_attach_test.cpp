// KtKey.dll's load and unload: the KeySetBlock, the key file and its defaults, the exports, and the end of
// the device thread.
#include <gtest/gtest.h>

#include <cstring>

#include "key_file.h"
#include "key_test_support.h"
#include "object_names.h"
#include "service_object_open.h"

namespace {

using keytest::KeyFileImage;
using keytest::KeyLibrary;
using keytest::KeySetBlockView;

// A record whose every byte differs from its neighbours, so a misplaced copy shows.
pz::KeySetRecord Pattern() {
    pz::KeySetRecord record;
    auto* bytes = reinterpret_cast<uint8_t*>(&record);
    for (size_t i = 0; i < sizeof record; ++i) bytes[i] = static_cast<uint8_t>(i * 13 + 5);
    return record;
}

pz::KeySetRecord Defaults() {
    pz::KeySetRecord record;
    pz::SetDefaultKeys(record);
    return record;
}

class KeyAttach : public ::testing::Test {
  protected:
    // Loads the library with the key file as it stands and copies the block it created.
    bool LoadedRecord(pz::KeySetRecord& record) {
        KeyLibrary library;
        if (!library.Loaded()) return false;
        KeySetBlockView block;
        if (block.record() == nullptr) return false;
        record = *block.record();
        return true;
    }

    keytest::KeyFileBackup backup_;
};

TEST_F(KeyAttach, ExportsAreThereByTheirPlainNames) {
    KeyLibrary library;
    ASSERT_TRUE(library.Loaded());
    EXPECT_EQ(library.initVirtual(), 1);
    EXPECT_EQ(library.setAppWindow(nullptr), 1);
    EXPECT_EQ(library.initTablet(), 0) << "no keypad is plugged in";
}

struct FileCase {
    const char* name;
    size_t size;  // 0: no file
    bool loads;
    bool groupTwoLoads;
};

TEST_F(KeyAttach, KeyFileSizeDecidesWhatLoads) {
    const FileCase cases[] = {
        {"no key file", 0, false, false},
        {"one byte short of group 1", 1559, false, false},
        {"group 1 alone", 1560, true, false},
        {"both groups", 3116, true, true},
        {"longer than both groups", 4000, true, true},
    };
    const pz::KeySetRecord pattern = Pattern();
    const pz::KeySetRecord defaults = Defaults();
    for (const FileCase& c : cases) {
        SCOPED_TRACE(c.name);
        DeleteFileA(keytest::WindowsDirectoryKeyFile().c_str());
        if (c.size != 0) {
            ASSERT_TRUE(keytest::WriteFileBytes(keytest::WindowsDirectoryKeyFile(), KeyFileImage(pattern, c.size)));
        }
        pz::KeySetRecord record;
        ASSERT_TRUE(LoadedRecord(record));
        const pz::KeyGroup zero{};
        const pz::KeySetRecord& group1 = c.loads ? pattern : defaults;
        EXPECT_EQ(0, std::memcmp(&record.Groups[0], &group1.Groups[0], sizeof(pz::KeyGroup)));
        const pz::KeyGroup& group2 = c.groupTwoLoads ? pattern.Groups[1] : zero;
        EXPECT_EQ(0, std::memcmp(&record.Groups[1], &group2, sizeof(pz::KeyGroup)));
    }
}

TEST_F(KeyAttach, FromVersionSixTheSystemDirectoryFileIsNotUsed) {
    ASSERT_GE(pz::OsMajorVersion(), 6u) << "this case needs Windows 6 or later";
    ASSERT_TRUE(keytest::WriteFileBytes(keytest::SystemDirectoryKeyFile(), KeyFileImage(Pattern())));
    pz::KeySetRecord record;
    ASSERT_TRUE(LoadedRecord(record));
    const pz::KeySetRecord defaults = Defaults();
    EXPECT_EQ(0, std::memcmp(&record, &defaults, sizeof record));
}

TEST_F(KeyAttach, TheBlockIsCreatedByAnyLoaderAndFreedAtTheLastUnload) {
    {
        KeyLibrary library;
        ASSERT_TRUE(library.Loaded());
        KeySetBlockView block;
        ASSERT_NE(block.record(), nullptr);
        // A change made by the settings program stays while a library holds the block.
        block.record()->Groups[1].ScrollDisabled = 1;
        KeySetBlockView again;
        ASSERT_NE(again.record(), nullptr);
        EXPECT_EQ(again.record()->Groups[1].ScrollDisabled, 1);
    }
    KeySetBlockView after;
    EXPECT_EQ(after.record(), nullptr) << "the block outlived the library";
}

TEST_F(KeyAttach, WhenTheBlockNameIsTakenTheLibraryStillLoads) {
    // An object of another kind under the block's name makes the mapping impossible.
    HANDLE squatter = CreateEventA(nullptr, TRUE, FALSE, pz::kKeySetBlockName);
    ASSERT_NE(squatter, nullptr);
    {
        KeyLibrary library;
        EXPECT_TRUE(library.Loaded());
        EXPECT_EQ(library.keyEvent(), 1) << "the handler runs on the private buffer";
    }
    CloseHandle(squatter);
}

TEST_F(KeyAttach, QuitWhileSearchingEndsTheDeviceThreadAtOnce) {
    KeyLibrary library;
    ASSERT_TRUE(library.Loaded());
    HANDLE quit = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE thread = library.startDevService(quit);
    ASSERT_NE(thread, nullptr);
    Sleep(300);  // the first search has failed; the thread now waits for the next
    EXPECT_EQ(WaitForSingleObject(thread, 0), static_cast<DWORD>(WAIT_TIMEOUT)) << "ended before the quit event";
    const DWORD asked = GetTickCount();
    SetEvent(quit);
    EXPECT_EQ(WaitForSingleObject(thread, 3000), WAIT_OBJECT_0);
    EXPECT_LT(GetTickCount() - asked, 1000u) << "the thread slept through the quit event";
    DWORD code = 0;
    GetExitCodeThread(thread, &code);
    EXPECT_EQ(code, 1u);
    CloseHandle(thread);
    CloseHandle(quit);
}

}  // namespace
