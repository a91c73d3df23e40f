#include "key_action_plan.h"

namespace ktkey {
namespace {

ActionStep Mouse(uint32_t flags) {
    ActionStep step;
    step.kind = ActionStepKind::kMouse;
    step.mouseFlags = flags;
    return step;
}

ActionStep Only(ActionStepKind kind) {
    ActionStep step;
    step.kind = kind;
    return step;
}

std::vector<ActionStep> PlanActionCode(uint8_t code, KeyMode mode) {
    const bool press = mode == KeyMode::kPress;
    switch (code) {
        case pz::kActionMiddleButton:
            return {Mouse(press ? kMiddleDown : kMiddleUp)};
        case pz::kActionLeftButton:
            return {Mouse(press ? kLeftDown : kLeftUp)};
        case pz::kActionRightButton:
            return {Mouse(press ? kRightDown : kRightUp)};
        case pz::kActionLaunch:
            if (press) return {};
            return {Only(ActionStepKind::kLaunch)};
        case pz::kActionNotifyWindow:
            return {Only(ActionStepKind::kNotify)};  // on press and on release alike
        default:
            return {};
    }
}

}  // namespace

bool IsActionCode(const pz::KeyAction& action) {
    return action.Bytes[0] == 0xFF && action.Bytes[1] == 0xFF && action.Bytes[2] == 0xFF;
}

std::vector<ActionStep> PlanKeyAction(const pz::KeyAction& action, KeyMode mode) {
    if (IsActionCode(action)) return PlanActionCode(action.Bytes[3], mode);
    std::vector<ActionStep> steps;
    ActionStep step;
    if (mode == KeyMode::kPress) {
        // Pressed in order up to the first empty byte.
        for (int i = 0; i < 3 && action.Bytes[i] != 0; ++i) {
            step.virtualKey = action.Bytes[i];
            steps.push_back(step);
        }
    } else {
        // Released in reverse, every nonzero byte.
        step.keyUp = true;
        for (int i = 2; i >= 0; --i) {
            if (action.Bytes[i] == 0) continue;
            step.virtualKey = action.Bytes[i];
            steps.push_back(step);
        }
    }
    return steps;
}

}  // namespace ktkey
