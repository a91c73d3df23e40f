// The Wintab library check on real files: stand-in libraries whose version resources differ, checked and
// replaced in a scratch directory.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "wintab_library_check.h"

namespace {

std::string ExeDirectory() {
    char exe[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string path = exe;
    return path.substr(0, path.find_last_of('\\'));
}

std::string Fixture(const char* name) {
    return ExeDirectory() + "\\wintab_fixtures\\wintab_" + name + ".dll";
}

std::string Contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return "<missing>";
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

const char kSpareContents[] = "the spare copy of the maker's library";

struct CheckCase {
    const char* name;
    const char* installed;  // fixture name, "text" for a file without a version resource, nullptr for none
    bool spare;
    bool replaced;
};

void PrintTo(const CheckCase& c, std::ostream* out) {
    *out << c.name;
}

class WintabLibraryCheck : public ::testing::TestWithParam<CheckCase> {
  protected:
    void SetUp() override {
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        directory = std::string(temp) + "PzWintabCheck" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(directory.c_str(), nullptr);
        installed = directory + "\\Wintab32.dll";
        spare = directory + "\\Spare.dll";
    }
    void TearDown() override {
        DeleteFileA(installed.c_str());
        DeleteFileA(spare.c_str());
        RemoveDirectoryA(directory.c_str());
    }
    std::string directory, installed, spare;
};

TEST_P(WintabLibraryCheck, ReplacesAnythingButTheMakersLibrary) {
    const CheckCase c = GetParam();
    const std::string kind = c.installed ? c.installed : "";
    if (kind == "text") {
        std::ofstream(installed, std::ios::binary) << "no version resource here";
    } else if (!kind.empty()) {
        ASSERT_TRUE(CopyFileA(Fixture(c.installed).c_str(), installed.c_str(), FALSE)) << Fixture(c.installed);
    }
    if (c.spare) {
        std::ofstream(spare, std::ios::binary) << kSpareContents;
    }
    const std::string before = Contents(installed);

    pz::EnsureWintabLibraryAt(installed.c_str(), spare.c_str());

    EXPECT_EQ(Contents(installed), c.replaced ? std::string(kSpareContents) : before);
    if (c.spare) {
        EXPECT_EQ(Contents(spare), kSpareContents);
    }
}

INSTANTIATE_TEST_SUITE_P(Libraries, WintabLibraryCheck,
                         ::testing::Values(CheckCase{"MakersNameInChineseBlockStays", "maker", true, false},
                                           CheckCase{"MakersNameOnlyInEnglishBlockIsReplaced", "english", true, true},
                                           CheckCase{"AnotherCompanyIsReplaced", "other", true, true},
                                           CheckCase{"NoVersionResourceIsReplaced", "text", true, true},
                                           CheckCase{"MissingLibraryGetsTheSpare", nullptr, true, true},
                                           CheckCase{"NeitherFileChangesNothing", nullptr, false, false},
                                           CheckCase{"ForeignLibraryWithoutSpareStays", "other", false, false},
                                           // The company name lies beyond the first 2048 bytes of the version resource.
                                           CheckCase{"MakersNameInALargeResourceStays", "large", true, false}),
                         [](const ::testing::TestParamInfo<CheckCase>& info) { return std::string(info.param.name); });

TEST(WintabLibraryFixtures, TheLargeResourceReallyExceeds2048Bytes) {
    DWORD ignored = 0;
    EXPECT_GT(GetFileVersionInfoSizeA(Fixture("large").c_str(), &ignored), 2048u);
    EXPECT_TRUE(pz::IsMakersLibrary(Fixture("maker").c_str()));
    EXPECT_FALSE(pz::IsMakersLibrary(Fixture("english").c_str()));
}

}  // namespace
