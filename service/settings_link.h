// The service's side of the settings link: the ControlPanelBlock that the settings and tray programs open,
// filled once from "\PzTablet.cfg" at the start of a run and read live on every pen report.
#pragma once

#include <windows.h>

#include <string>

#include "records.h"

namespace pz {

// Creates and maps the block, records this process in it and loads the settings file of the system
// directory. False when the block cannot be created or the file is missing or locked; the block then
// stays mapped until CloseSettingsLink.
bool OpenSettingsLink();

// The same with the settings file at `settingsPath`.
bool OpenSettingsLinkFrom(const char* settingsPath);

// "\PzTablet.cfg" in the system directory, the file the settings link loads and the saver writes.
std::string SettingsFilePath();

// Unmaps the block and closes the mapping, each only if it exists.
void CloseSettingsLink();

// The mapped block, or nullptr while there is none (readers then use their built-in defaults).
ControlPanelBlock* SettingsView();

}  // namespace pz
