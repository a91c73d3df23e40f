#include <gtest/gtest.h>

#include <string>

#include "object_name_rule.h"

namespace {

struct VersionCase {
    const char* name;
    unsigned osMajor;
    const char* expected;
};

class NameForOsMajor : public ::testing::TestWithParam<VersionCase> {};

TEST_P(NameForOsMajor, PrefixesGlobalBeforeVersionSixOnly) {
    const VersionCase c = GetParam();
    EXPECT_EQ(pz::NameForOsMajor(c.name, c.osMajor), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Versions, NameForOsMajor,
                         ::testing::Values(VersionCase{"Global\\Block", 5, "Global\\Block"},
                                           VersionCase{"Block", 5, "Global\\Block"},
                                           VersionCase{"Global\\Block", 6, "Block"}, VersionCase{"Block", 10, "Block"},
                                           VersionCase{"Global\\Block", 0, "Global\\Block"}));

TEST(NamesToTry, TheGivenNameComesFirstThenTheOtherForm) {
    EXPECT_EQ(pz::NamesToTry("Global\\Block")[0], "Global\\Block");
    EXPECT_EQ(pz::NamesToTry("Global\\Block")[1], "Block");
    EXPECT_EQ(pz::NamesToTry("Block")[0], "Block");
    EXPECT_EQ(pz::NamesToTry("Block")[1], "Global\\Block");
}

TEST(NamesToTry, OnlyALeadingPrefixCountsAndCaseMatters) {
    EXPECT_EQ(pz::NamesToTry("My Global\\Block")[1], "Global\\My Global\\Block");
    EXPECT_EQ(pz::BareObjectName("Global\\"), "");
    EXPECT_EQ(pz::BareObjectName("Global"), "Global");
}

}  // namespace
