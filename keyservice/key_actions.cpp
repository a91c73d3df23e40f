#include "key_actions.h"

#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <cstring>

#include "key_action_plan.h"
#include "key_service_state.h"
#include "key_set_view.h"
#include "launch_entry_text.h"
#include "object_names.h"

namespace ktkey {
namespace {

constexpr DWORD kKeyPauseMs = 5;

void LaunchProgramOfKey(uint32_t keyNumber) {
    int group = 0;
    int key = 0;
    if (!KeyOfNumber(keyNumber, group, key)) return;
    const pz::LaunchEntry entry = KeySet().Groups[group].Launch[key];
    const LaunchCommand command = ReadLaunchEntry(entry);
    if (command.path.empty()) return;
    ShellExecuteA(nullptr, "open", command.path.c_str(), command.parameters.c_str(), "", SW_SHOWNORMAL);
}

void NotifyApplicationWindow(uint32_t keyNumber) {
    HWND window = ApplicationWindow();
    if (window != nullptr) PostMessageA(window, pz::kMsgKeyNotify, 0, static_cast<LPARAM>(keyNumber));
}

}  // namespace

void RunKeyAction(pz::KeyAction action, KeyMode mode, uint32_t keyNumber) {
    for (const ActionStep& step : PlanKeyAction(action, mode)) {
        switch (step.kind) {
            case ActionStepKind::kKey:
                keybd_event(step.virtualKey, 0, step.keyUp ? KEYEVENTF_KEYUP : 0, 0);
                Sleep(kKeyPauseMs);
                break;
            case ActionStepKind::kMouse:
                mouse_event(step.mouseFlags, 0, 0, 0, 0);
                break;
            case ActionStepKind::kLaunch:
                LaunchProgramOfKey(keyNumber);
                break;
            case ActionStepKind::kNotify:
                NotifyApplicationWindow(keyNumber);
                break;
        }
    }
}

void HandleKeypadReport() {
    // Each event reads the record afresh: the settings program may change it at any time.
    const pz::KeySetRecord& keys = KeySet();
    for (const ReportEffect& effect : CompareReports(g_currentReport, g_previousReport, keys)) {
        if (effect.kind == ReportEffectKind::kKey)
            RunKeyAction(keys.Groups[effect.group].Actions[effect.key], effect.mode, effect.keyNumber);
        else if (effect.kind == ReportEffectKind::kScroll)
            mouse_event(kScrollEventFlags, 0, 0, static_cast<DWORD>(effect.wheelDelta), 0);
    }
    std::memcpy(g_previousReport, g_currentReport, kKeypadReportLength);
}

}  // namespace ktkey
