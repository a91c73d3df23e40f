// Mapping onto the desktop and the button rules of pointer injection.
#include <gtest/gtest.h>

#include <vector>

#include "pointer_injector.h"
#include "quiet_port.h"
#include "screen_mapping.h"

namespace {

using namespace ktpen;

struct SentEvent {
    uint32_t flags;
    int32_t dx, dy;
    bool operator==(const SentEvent& o) const { return flags == o.flags && dx == o.dx && dy == o.dy; }
};

class RecordingPort : public QuietPort {
  public:
    std::vector<SentEvent> sent;
    void PointerEvent(uint32_t flags, int32_t dx, int32_t dy, const LastSentState&) override {
        sent.push_back({flags, dx, dy});
    }
};

TEST(ScreenMapping, ActiveAreaScalesToTheDesktop) {
    const ActiveArea area{1000, 1000, 9000, 7000};
    DesktopPoint p;
    ASSERT_TRUE(MapToDesktop(&area, 5000, 1000, p));
    EXPECT_EQ(p.dx, 32768);
    EXPECT_EQ(p.dy, 0);
    ASSERT_TRUE(MapToDesktop(&area, 9000, 7000, p));
    EXPECT_EQ(p.dx, 65535);
    EXPECT_EQ(p.dy, 65535);
    EXPECT_FALSE(MapToDesktop(&area, 999, 4000, p));
    EXPECT_FALSE(MapToDesktop(&area, 5000, 7001, p));
}

TEST(ScreenMapping, WithoutSettingsTheWholeTabletMapsAndClamps) {
    DesktopPoint p;
    ASSERT_TRUE(MapToDesktop(nullptr, 20000, 0, p));
    EXPECT_EQ(p.dx, 65535);
    EXPECT_EQ(p.dy, 0);
    ASSERT_TRUE(MapToDesktop(nullptr, 5103, 65535, p));
    EXPECT_EQ(p.dx, 32768);
    EXPECT_EQ(p.dy, 65535);
}

TEST(ScreenMapping, DegenerateAreasMapNothing) {
    const ActiveArea zeroWidth{4000, 1000, 4000, 7000}, zeroHeight{0, 3000, 10206, 3000}, inverted{9000, 0, 1000, 7422};
    DesktopPoint p;
    EXPECT_FALSE(MapToDesktop(&zeroWidth, 4000, 2000, p));
    EXPECT_FALSE(MapToDesktop(&zeroHeight, 500, 3000, p));
    EXPECT_FALSE(MapToDesktop(&inverted, 5000, 100, p));
    const ActiveArea huge{0, 0, 65535, 65535};
    ASSERT_TRUE(MapToDesktop(&huge, 65535, 65535, p)) << "a full-range area must not overflow";
    EXPECT_EQ(p.dx, 65535);
}

// Drives the injector through a sequence of button states at one inside position.
std::vector<SentEvent> Drive(std::initializer_list<uint8_t> buttons, PointerInjector& injector, bool cursor = true) {
    RecordingPort port;
    const ActiveArea area{0, 0, 10206, 7422};
    uint8_t previous = 0;
    for (uint8_t b : buttons) {
        injector.MapAndInject(&area, 5103, 3711, b, previous, cursor, LastSentState{}, port);
        previous = b;
    }
    return port.sent;
}

TEST(PointerRules, ButtonTransitions) {
    constexpr int32_t c = 32768;
    const struct {
        const char* what;
        std::initializer_list<uint8_t> buttons;
        std::vector<SentEvent> expected;
    } cases[] = {
        {"tip down and up in place", {0, 1, 0}, {{kMove, c, c}, {kLeftDown, c, c}, {kLeftUp, c, c}}},
        {"side button while hovering",
         {0, 2, 2, 0},
         {{kMove, c, c}, {kRightDown, 0, 0}, {kMove, c, c}, {kRightUp, 0, 0}}},
        {"side button added to the tip", {1, 3, 1}, {{kLeftDown, c, c}, {kLeftUp, c, c}, {kLeftDown, c, c}}},
        {"tip straight to side", {1, 2, 2}, {{kLeftDown, c, c}, {kLeftUp, c, c}, {kMove, c, c}}},
        {"other buttons only move", {0, 4, 5}, {{kMove, c, c}, {kMove, c, c}, {kMove, c, c}}},
    };
    for (const auto& tc : cases) {
        PointerInjector injector;
        EXPECT_EQ(Drive(tc.buttons, injector), tc.expected) << tc.what;
    }
}

TEST(PointerRules, LeavingWithTheSideButtonLeavesARightReleaseForTheNextTipDown) {
    PointerInjector injector;
    Drive({0, 2}, injector);
    ASSERT_TRUE(injector.RightButtonDown());
    RecordingPort port;
    injector.ReleaseOnLeave(2, LastSentState{}, port);
    EXPECT_EQ(port.sent, (std::vector<SentEvent>{{kRightUpAbsolute, 0, 0}}));
    EXPECT_TRUE(injector.RightButtonDown());
    const auto next = Drive({1}, injector);
    EXPECT_EQ(next, (std::vector<SentEvent>{{kRightUp, 0, 0}, {kLeftDown, 32768, 32768}}));
    EXPECT_FALSE(injector.RightButtonDown());
}

TEST(PointerRules, LeavingWithTheTipReleasesTheLeftButton) {
    PointerInjector injector;
    RecordingPort port;
    injector.ReleaseOnLeave(1, LastSentState{}, port);
    injector.ReleaseOnLeave(0, LastSentState{}, port);
    EXPECT_EQ(port.sent, (std::vector<SentEvent>{{kLeftUp, 0, 0}}));
}

TEST(PointerRules, AContextHoldingThePointerSuppressesEventsButNotTheArea) {
    PointerInjector injector;
    EXPECT_TRUE(Drive({0, 1, 0}, injector, false).empty());
}

TEST(PointerRules, TipLiftedBeyondTheAreaIsReleasedAtItsEdge) {
    PointerInjector injector;
    RecordingPort port;
    const ActiveArea area{1000, 1000, 9000, 7000};
    EXPECT_TRUE(injector.MapAndInject(&area, 8000, 4000, 1, 0, true, {}, port));
    EXPECT_FALSE(injector.MapAndInject(&area, 9500, 4000, 1, 1, true, {}, port)) << "drag beyond: nothing";
    EXPECT_FALSE(injector.MapAndInject(&area, 9600, 4000, 0, 1, true, {}, port)) << "lift beyond: release";
    EXPECT_FALSE(injector.MapAndInject(&area, 9600, 4000, 0, 0, true, {}, port));
    ASSERT_EQ(port.sent.size(), 2u);
    EXPECT_EQ(port.sent[1], (SentEvent{kLeftUp, 65535, 32768}));
}

}  // namespace
