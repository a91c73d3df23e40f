#include "key_report_rules.h"

namespace ktkey {

uint32_t KeyNumber(int group, int key) {
    return static_cast<uint32_t>(group == 0 ? 1 + key : 17 + key);
}

bool KeyOfNumber(uint32_t keyNumber, int& group, int& key) {
    if (keyNumber >= 1 && keyNumber <= 4) {
        group = 0;
        key = static_cast<int>(keyNumber - 1);
        return true;
    }
    if (keyNumber >= 17 && keyNumber <= 20) {
        group = 1;
        key = static_cast<int>(keyNumber - 17);
        return true;
    }
    return false;
}

bool IsKeyCode(uint8_t state) {
    return (state & 0xA0) == 0xA0;
}

int KeyOfCode(uint8_t state) {
    switch (state) {
        case 0xA1:
            return 0;
        case 0xA2:
            return 1;
        case 0xA4:
            return 2;
        case 0xA8:
            return 3;
        default:
            return -1;
    }
}

ReportEffect CompareGroup(int group, const uint8_t* current, const uint8_t* previous, const pz::KeySetRecord& keys) {
    ReportEffect effect;
    effect.group = group;
    const size_t markerByte = group == 0 ? 1 : 3;
    if (current[markerByte] != kGroupMarkers[group]) return effect;
    const uint8_t cur = current[markerByte + 1];
    const uint8_t prev = previous[markerByte + 1];

    if (IsKeyCode(cur)) {
        // A key replacing another, or one held, does nothing: only moves from and to "no key" count.
        int key = -1;
        if (prev == kNoKeyCode) {
            key = KeyOfCode(cur);
            effect.mode = KeyMode::kPress;
        } else if (cur == kNoKeyCode) {
            key = KeyOfCode(prev);
            effect.mode = KeyMode::kRelease;
        }
        if (key < 0) return effect;
        effect.kind = ReportEffectKind::kKey;
        effect.key = key;
        effect.keyNumber = KeyNumber(group, key);
        return effect;
    }

    // Only a finger moving along the strip scrolls. Putting it down (the report before held no position, 0,
    // or key codes, which are no place on the strip) or lifting it (now 0) is no movement.
    if (keys.Groups[group].ScrollDisabled != 0 || IsKeyCode(prev) || prev == 0 || cur == 0 || cur == prev)
        return effect;
    effect.kind = ReportEffectKind::kScroll;
    effect.wheelDelta = (static_cast<int32_t>(cur) - static_cast<int32_t>(prev)) * kWheelStep;
    return effect;
}

std::array<ReportEffect, 2> CompareReports(const uint8_t* current, const uint8_t* previous,
                                           const pz::KeySetRecord& keys) {
    return {CompareGroup(0, current, previous, keys), CompareGroup(1, current, previous, keys)};
}

}  // namespace ktkey
