// Persistence of the ControlPanelBlock: the settings program sets the save event, under "Global\" or
// not depending on where it saves; the service waits on both forms and writes "\PzTablet.cfg".
#pragma once

#include <windows.h>

#include <string>

#include "records.h"

namespace pz {

class SettingsSaver {
  public:
    SettingsSaver() = default;
    SettingsSaver(const SettingsSaver&) = delete;
    SettingsSaver& operator=(const SettingsSaver&) = delete;
    ~SettingsSaver() { Close(); }

    // Creates the manual-reset save event under both names, each opened to Everyone for setting only.
    // False when neither name could be created. `block` must outlive the saver.
    bool Open(const ControlPanelBlock* block, const std::string& settingsPath);
    void Close();

    // The events to add to the service's waits.
    DWORD HandleCount() const { return count_; }
    const HANDLE* Handles() const { return events_; }

    // For a signalled handle of Handles(): resets that event and writes the file whole. False when the
    // handle is not one of ours or the file could not be written.
    bool OnSignalled(HANDLE event);

  private:
    const ControlPanelBlock* block_ = nullptr;
    std::string path_;
    HANDLE events_[2] = {};
    DWORD count_ = 0;
};

}  // namespace pz
