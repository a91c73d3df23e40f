// The steps one KeyAction takes when its key goes down or up: virtual-key codes pressed in order and
// released in reverse, a mouse button, the launch of the key's program, or a note to the host window.
#pragma once

#include <cstdint>
#include <vector>

#include "key_report_rules.h"
#include "records.h"

namespace ktkey {

// mouse_event flags of the three buttons.
constexpr uint32_t kMiddleDown = 0x20, kMiddleUp = 0x40;
constexpr uint32_t kLeftDown = 0x02, kLeftUp = 0x04;
constexpr uint32_t kRightDown = 0x08, kRightUp = 0x10;

enum class ActionStepKind { kKey, kMouse, kLaunch, kNotify };

struct ActionStep {
    ActionStepKind kind = ActionStepKind::kKey;
    uint8_t virtualKey = 0;   // kKey
    bool keyUp = false;       // kKey
    uint32_t mouseFlags = 0;  // kMouse
};

// Whether the action holds an action code (bytes 0..2 all 0xFF) rather than virtual-key codes.
bool IsActionCode(const pz::KeyAction& action);

// The steps in the order they are carried out; empty when the action does nothing in this mode.
std::vector<ActionStep> PlanKeyAction(const pz::KeyAction& action, KeyMode mode);

}  // namespace ktkey
