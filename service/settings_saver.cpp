#include "settings_saver.h"

#include "atomic_file_write.h"
#include "object_names.h"
#include "object_security.h"
#include "settings_file.h"

namespace pz {

bool SettingsSaver::Open(const ControlPanelBlock* block, const std::string& settingsPath) {
    Close();
    block_ = block;
    path_ = settingsPath;
    // Programs of other accounts set the event; only the service waits on it and resets it.
    SECURITY_ATTRIBUTES security{};
    const bool secured = BuildObjectSecurity(security, EVENT_MODIFY_STATE);
    for (const char* name : {kSaveSettingsEventGlobalName, kSaveSettingsEventName}) {
        HANDLE event = secured ? CreateEventA(&security, TRUE, FALSE, name) : nullptr;
        if (event == nullptr) event = CreateEventA(nullptr, TRUE, FALSE, name);
        if (event != nullptr) events_[count_++] = event;
    }
    FreeObjectSecurity(security);
    return count_ > 0;
}

void SettingsSaver::Close() {
    for (DWORD i = 0; i < count_; ++i) CloseHandle(events_[i]);
    count_ = 0;
}

bool SettingsSaver::OnSignalled(HANDLE event) {
    bool ours = false;
    for (DWORD i = 0; i < count_; ++i) ours = ours || events_[i] == event;
    if (!ours || block_ == nullptr) return false;
    ResetEvent(event);
    uint8_t image[kSettingsFileSize];
    EncodeSettingsFile(*block_, image);
    return ReplaceFileAtomically(path_.c_str(), image, sizeof image);
}

}  // namespace pz
