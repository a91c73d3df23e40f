#include <gtest/gtest.h>

#include <vector>

#include "key_action_plan.h"

namespace {

using ktkey::ActionStep;
using ktkey::ActionStepKind;
using ktkey::KeyMode;

pz::KeyAction Action(uint8_t b0, uint8_t b1, uint8_t b2, uint8_t b3) {
    return pz::KeyAction{{b0, b1, b2, b3}};
}

// "+11" is a key-down of 0x11, "-11" a key-up; "M20" a mouse event; "L" a launch; "N" a notification.
std::vector<std::string> Describe(const std::vector<ActionStep>& steps) {
    std::vector<std::string> text;
    char item[16];
    for (const ActionStep& step : steps) {
        switch (step.kind) {
            case ActionStepKind::kKey:
                std::snprintf(item, sizeof item, "%c%02X", step.keyUp ? '-' : '+', step.virtualKey);
                break;
            case ActionStepKind::kMouse:
                std::snprintf(item, sizeof item, "M%02X", step.mouseFlags);
                break;
            case ActionStepKind::kLaunch:
                std::snprintf(item, sizeof item, "L");
                break;
            case ActionStepKind::kNotify:
                std::snprintf(item, sizeof item, "N");
                break;
        }
        text.push_back(item);
    }
    return text;
}

using Steps = std::vector<std::string>;

struct PlanCase {
    const char* name;
    pz::KeyAction action;
    Steps press;
    Steps release;
};

const PlanCase kPlanCases[] = {
    {"Ctrl+Shift+S", Action(0x11, 0x10, 0x53, 0), {"+11", "+10", "+53"}, {"-53", "-10", "-11"}},
    {"one key", Action(0x20, 0, 0, 0), {"+20"}, {"-20"}},
    {"byte 3 of a key action is unused", Action(0x41, 0, 0, 0x07), {"+41"}, {"-41"}},
    // Pressing stops at the first empty byte; releasing skips empty bytes.
    {"gap after the first key", Action(0x11, 0, 0x53, 0), {"+11"}, {"-53", "-11"}},
    {"no keys", Action(0, 0, 0, 0), {}, {}},
    {"two 0xFF are still key codes", Action(0xFF, 0xFF, 0x41, 1), {"+FF", "+FF", "+41"}, {"-41", "-FF", "-FF"}},
    {"middle button", Action(0xFF, 0xFF, 0xFF, 1), {"M20"}, {"M40"}},
    {"left button", Action(0xFF, 0xFF, 0xFF, 2), {"M02"}, {"M04"}},
    {"right button", Action(0xFF, 0xFF, 0xFF, 3), {"M08"}, {"M10"}},
    {"launch on release only", Action(0xFF, 0xFF, 0xFF, 4), {}, {"L"}},
    {"code 5 does nothing", Action(0xFF, 0xFF, 0xFF, 5), {}, {}},
    {"code 6 does nothing", Action(0xFF, 0xFF, 0xFF, 6), {}, {}},
    {"notify on press and release", Action(0xFF, 0xFF, 0xFF, 7), {"N"}, {"N"}},
    {"code 0 does nothing", Action(0xFF, 0xFF, 0xFF, 0), {}, {}},
    {"code 8 does nothing", Action(0xFF, 0xFF, 0xFF, 8), {}, {}},
    {"code 255 does nothing", Action(0xFF, 0xFF, 0xFF, 0xFF), {}, {}},
};

TEST(KeyActionPlan, EachActionTakesItsStepsOnPressAndRelease) {
    for (const PlanCase& c : kPlanCases) {
        EXPECT_EQ(Describe(ktkey::PlanKeyAction(c.action, KeyMode::kPress)), c.press) << c.name;
        EXPECT_EQ(Describe(ktkey::PlanKeyAction(c.action, KeyMode::kRelease)), c.release) << c.name;
    }
}

}  // namespace
