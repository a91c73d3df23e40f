// Any keypad report after any other, with any key settings: the report comparison, the action plan of
// the key it names and the launch entry it would start. Besides the sanitizers: key numbers and groups
// stay in range, and a launch command never holds more than its fields.
#include <cstring>
#include <memory>

#include "fuzz_input.h"
#include "key_action_plan.h"
#include "key_file.h"
#include "key_report_rules.h"
#include "launch_entry_text.h"

namespace {
constexpr size_t kKeypadReportLength = 5;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Input in(data, size);
    auto keys = std::make_unique<pz::KeySetRecord>();
    pz::SetDefaultKeys(*keys);
    uint8_t previous[kKeypadReportLength] = {};
    while (!in.Empty()) {
        uint8_t current[kKeypadReportLength] = {};
        in.TakeBytes(current, sizeof current);
        // Then eight bytes of the key settings, anywhere in the record, are rewritten by the input.
        const size_t offset = in.Take<uint16_t>() % (sizeof(pz::KeySetRecord) - 8);
        in.TakeBytes(reinterpret_cast<uint8_t*>(keys.get()) + offset, 8);
        for (const ktkey::ReportEffect& effect : ktkey::CompareReports(current, previous, *keys)) {
            if (effect.kind != ktkey::ReportEffectKind::kKey) continue;
            fuzz::Require(effect.group >= 0 && effect.group <= 1 && effect.key >= 0 && effect.key <= 3);
            int group = -1, key = -1;
            fuzz::Require(ktkey::KeyOfNumber(effect.keyNumber, group, key) && group == effect.group &&
                          key == effect.key);
            const pz::KeyGroup& keyGroup = keys->Groups[effect.group];
            ktkey::PlanKeyAction(keyGroup.Actions[effect.key], effect.mode);
            const ktkey::LaunchCommand command = ktkey::ReadLaunchEntry(keyGroup.Launch[effect.key]);
            fuzz::Require(command.path.size() <= sizeof keyGroup.Launch[effect.key].Path &&
                          command.parameters.size() <= sizeof keyGroup.Launch[effect.key].Parameters);
        }
        std::memcpy(previous, current, sizeof previous);
    }
    return 0;
}
