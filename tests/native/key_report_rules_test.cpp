#include <gtest/gtest.h>

#include <cstring>

#include "key_report_rules.h"

namespace {

using ktkey::CompareGroup;
using ktkey::CompareReports;
using ktkey::KeyMode;
using ktkey::ReportEffect;
using ktkey::ReportEffectKind;

pz::KeySetRecord Keys(uint8_t scrollDisabled1 = 0, uint8_t scrollDisabled2 = 0) {
    pz::KeySetRecord keys;
    std::memset(&keys, 0, sizeof keys);
    keys.Groups[0].ScrollDisabled = scrollDisabled1;
    keys.Groups[1].ScrollDisabled = scrollDisabled2;
    return keys;
}

struct GroupCase {
    const char* name;
    uint8_t previous;
    uint8_t current;
    ReportEffectKind kind;
    KeyMode mode;
    int key;
    int32_t wheel;
};

// One group's state byte before and after, the same in both groups.
const GroupCase kGroupCases[] = {
    {"press key 1", 0xA0, 0xA1, ReportEffectKind::kKey, KeyMode::kPress, 0, 0},
    {"press key 2", 0xA0, 0xA2, ReportEffectKind::kKey, KeyMode::kPress, 1, 0},
    {"press key 3", 0xA0, 0xA4, ReportEffectKind::kKey, KeyMode::kPress, 2, 0},
    {"press key 4", 0xA0, 0xA8, ReportEffectKind::kKey, KeyMode::kPress, 3, 0},
    {"release key 3", 0xA4, 0xA0, ReportEffectKind::kKey, KeyMode::kRelease, 2, 0},
    {"release key 4", 0xA8, 0xA0, ReportEffectKind::kKey, KeyMode::kRelease, 3, 0},
    {"key 1 straight to key 2", 0xA1, 0xA2, ReportEffectKind::kNone, KeyMode::kPress, 0, 0},
    {"key held", 0xA1, 0xA1, ReportEffectKind::kNone, KeyMode::kPress, 0, 0},
    {"two keys at once match no key", 0xA0, 0xA3, ReportEffectKind::kNone, KeyMode::kPress, 0, 0},
    {"release from a code of no key", 0xE0, 0xA0, ReportEffectKind::kNone, KeyMode::kPress, 0, 0},
    {"no key to no key", 0xA0, 0xA0, ReportEffectKind::kNone, KeyMode::kPress, 0, 0},
    {"strip 3 to 5 scrolls forward", 3, 5, ReportEffectKind::kScroll, KeyMode::kPress, 0, 240},
    {"strip 5 to 2 scrolls back", 5, 2, ReportEffectKind::kScroll, KeyMode::kPress, 0, -360},
    {"strip positions are unsigned", 0x10, 0x7F, ReportEffectKind::kScroll, KeyMode::kPress, 0, (0x7F - 0x10) * 120},
    {"finger put down", 0, 5, ReportEffectKind::kNone, KeyMode::kPress, 0, 0},
    {"finger lifted", 5, 0, ReportEffectKind::kNone, KeyMode::kPress, 0, 0},
    {"strip after no key", 0xA0, 5, ReportEffectKind::kNone, KeyMode::kPress, 0, 0},
    {"strip after a held key", 0xA1, 5, ReportEffectKind::kNone, KeyMode::kPress, 0, 0},
    {"strip unmoved", 5, 5, ReportEffectKind::kNone, KeyMode::kPress, 0, 0},
    {"key pressed from the strip", 5, 0xA1, ReportEffectKind::kNone, KeyMode::kPress, 0, 0},
};

TEST(KeyReportRules, EachGroupFollowsTheTableOfTransitions) {
    for (int group = 0; group < 2; ++group) {
        for (const GroupCase& c : kGroupCases) {
            uint8_t previous[5] = {0, 0x55, 0xA0, 0xAA, 0xA0};
            uint8_t current[5] = {0, 0x55, 0xA0, 0xAA, 0xA0};
            previous[2 + 2 * group] = c.previous;
            current[2 + 2 * group] = c.current;
            const ReportEffect effect = CompareGroup(group, current, previous, Keys());
            SCOPED_TRACE(std::string(c.name) + " in group " + std::to_string(group + 1));
            EXPECT_EQ(effect.kind, c.kind);
            if (c.kind == ReportEffectKind::kKey) {
                EXPECT_EQ(effect.mode, c.mode);
                EXPECT_EQ(effect.key, c.key);
                EXPECT_EQ(effect.keyNumber, static_cast<uint32_t>(group == 0 ? 1 + c.key : 17 + c.key));
            }
            if (c.kind == ReportEffectKind::kScroll) {
                EXPECT_EQ(effect.wheelDelta, c.wheel);
            }
        }
    }
}

TEST(KeyReportRules, AGroupWithoutItsMarkerIsNotLookedAt) {
    const uint8_t previous[5] = {0, 0x55, 0xA0, 0xAA, 0xA0};
    for (uint8_t marker : {0x00, 0xAA, 0x54}) {
        const uint8_t current[5] = {0, marker, 0xA1, 0x00, 0xA1};
        const auto effects = CompareReports(current, previous, Keys());
        EXPECT_EQ(effects[0].kind, ReportEffectKind::kNone) << int(marker);
        EXPECT_EQ(effects[1].kind, ReportEffectKind::kNone) << "byte 3 of 0 is no group-2 marker";
    }
    // Each marker stands alone: group 2 is handled while group 1's marker is missing.
    const uint8_t current[5] = {7, 0x00, 0xA1, 0xAA, 0xA8};
    const auto effects = CompareReports(current, previous, Keys());
    EXPECT_EQ(effects[0].kind, ReportEffectKind::kNone);
    ASSERT_EQ(effects[1].kind, ReportEffectKind::kKey);
    EXPECT_EQ(effects[1].keyNumber, 20u);
}

TEST(KeyReportRules, ScrollDisabledStopsOnlyItsOwnGroup) {
    const uint8_t previous[5] = {0, 0x55, 3, 0xAA, 3};
    const uint8_t current[5] = {0, 0x55, 5, 0xAA, 5};
    auto effects = CompareReports(current, previous, Keys(0, 1));
    EXPECT_EQ(effects[0].kind, ReportEffectKind::kScroll);
    EXPECT_EQ(effects[0].wheelDelta, 240);
    EXPECT_EQ(effects[1].kind, ReportEffectKind::kNone);

    effects = CompareReports(current, previous, Keys(1, 0));
    EXPECT_EQ(effects[0].kind, ReportEffectKind::kNone);
    EXPECT_EQ(effects[1].kind, ReportEffectKind::kScroll);
    EXPECT_EQ(effects[1].group, 1);
}

TEST(KeyReportRules, ScrollDisabledLeavesTheKeysWorking) {
    const uint8_t previous[5] = {0, 0x55, 0xA0, 0xAA, 0xA0};
    const uint8_t current[5] = {0, 0x55, 0xA2, 0xAA, 0xA4};
    const auto effects = CompareReports(current, previous, Keys(1, 1));
    EXPECT_EQ(effects[0].keyNumber, 2u);
    EXPECT_EQ(effects[1].keyNumber, 19u);
}

TEST(KeyReportRules, KeyNumbersRoundTrip) {
    for (int group = 0; group < 2; ++group) {
        for (int key = 0; key < 4; ++key) {
            int g = -1;
            int k = -1;
            ASSERT_TRUE(ktkey::KeyOfNumber(ktkey::KeyNumber(group, key), g, k));
            EXPECT_EQ(g, group);
            EXPECT_EQ(k, key);
        }
    }
    int g = 0;
    int k = 0;
    for (uint32_t number : {0u, 5u, 16u, 21u}) EXPECT_FALSE(ktkey::KeyOfNumber(number, g, k)) << number;
}

}  // namespace
