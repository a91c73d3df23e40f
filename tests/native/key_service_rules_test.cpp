// The launch entry's bounded fields, the keypad match and the key file's directory.
#include <gtest/gtest.h>

#include <cstring>

#include "key_file_location.h"
#include "keypad_match.h"
#include "launch_entry_text.h"
#include "tablet_tables.h"

namespace {

TEST(LaunchEntryText, FieldsEndAtTheirFirstZero) {
    pz::LaunchEntry entry{};
    std::strcpy(entry.Path, "C:\\tools\\draw.exe");
    std::strcpy(entry.Parameters, "-new \"a b\"");
    entry.Parameters[20] = 'x';  // after the terminator: not part of the text
    const ktkey::LaunchCommand command = ktkey::ReadLaunchEntry(entry);
    EXPECT_EQ(command.path, "C:\\tools\\draw.exe");
    EXPECT_EQ(command.parameters, "-new \"a b\"");
}

TEST(LaunchEntryText, UnterminatedFieldsStopAtTheirEnd) {
    // Two entries back to back, as in a KeyGroup: nothing of the second may leak into the first.
    pz::LaunchEntry entries[2];
    std::memset(entries, 'B', sizeof entries);
    std::memset(entries[0].Path, 'P', sizeof entries[0].Path);
    std::memset(entries[0].Parameters, 'Q', sizeof entries[0].Parameters);
    const ktkey::LaunchCommand command = ktkey::ReadLaunchEntry(entries[0]);
    EXPECT_EQ(command.path, std::string(256, 'P'));
    EXPECT_EQ(command.parameters, std::string(128, 'Q'));
}

TEST(LaunchEntryText, EmptyPathMeansNothingToLaunch) {
    pz::LaunchEntry entry{};
    std::strcpy(entry.Parameters, "ignored");
    EXPECT_TRUE(ktkey::ReadLaunchEntry(entry).path.empty());
}

TEST(KeypadMatch, OnlyTheFirstRowOfAProductDecides) {
    struct Case {
        uint16_t vendor, product, length;
        bool keypad;
    };
    const Case cases[] = {
        {pz::kVendorId, 0x8201, 5, true},   {pz::kVendorId, pz::kEightKeyProductId, 5, true},
        {pz::kVendorId, 0x8201, 8, false},   // the pen collection of a keypad model
        {pz::kVendorId, 0x8201, 10, false},  // its 10-byte pen collection
        {pz::kVendorId, 0x8208, 5, false},   // first row without keys, second row with
        {pz::kVendorId, 0x8001, 5, false},   // a model without keys
        {pz::kVendorId, 0x8201, 0, false},   // a zero length never matches a model without keys
        {pz::kVendorId, 0x8001, 0, false},  {static_cast<uint16_t>(pz::kVendorId + 1), 0x8201, 5, false},
        {pz::kVendorId, 0x9999, 5, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ktkey::IsKeypadCollection(c.vendor, c.product, c.length), c.keypad)
            << std::hex << c.vendor << ":" << c.product << " length " << std::dec << c.length;
}

TEST(KeypadMatch, EightProductsHaveAKeypad) {
    int products = 0;
    for (const pz::TabletModel* row = pz::TabletModelTable; row->VendorId != 0; ++row) {
        if (pz::FindFirstModelRow(row->VendorId, row->ProductId) != row) continue;
        if (ktkey::IsKeypadCollection(row->VendorId, row->ProductId, 5)) ++products;
    }
    EXPECT_EQ(products, 8);
}

TEST(KeyFileLocation, SystemDirectoryBeforeVersionSixWindowsDirectoryFromThen) {
    EXPECT_EQ(ktkey::KeyFileDirectoryFor(4), ktkey::KeyFileDirectory::kSystem);
    EXPECT_EQ(ktkey::KeyFileDirectoryFor(5), ktkey::KeyFileDirectory::kSystem);
    EXPECT_EQ(ktkey::KeyFileDirectoryFor(6), ktkey::KeyFileDirectory::kWindows);
    EXPECT_EQ(ktkey::KeyFileDirectoryFor(10), ktkey::KeyFileDirectory::kWindows);
}

}  // namespace
