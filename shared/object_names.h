// Names of the kernel objects and files that the deliverables share, and the private message numbers.
#pragma once

#include <cstdint>

namespace pz {

constexpr const char kControlPanelBlockName[] = "Global\\TavorinControlPanelConnectionControlData";
constexpr const char kSaveSettingsEventName[] = "quorvandelSavePztabletCFG";
constexpr const char kSaveSettingsEventGlobalName[] = "Global\\quorvandelSavePztabletCFG";

constexpr const char kKeySetBlockName[] = "TavorinKeySetConnectionControlData";
constexpr const char kSaveKeysEventName[] = "quorvandelSavePztabletBIN";

constexpr const char kWintabControlBlockName[] = "Global\\TavorinWintab32ConnectionControlData";
constexpr const char kWintabRequestEventName[] = "Global\\RmWintabConnectionRequestEvent";
constexpr const char kWintabSyncEventName[] = "Global\\RmWintabConnectionRequestEvent_syn";
constexpr const char kWintabReadyEventName[] = "Global\\RmWintabConnectionReadyEvent";

// File names are appended to the system or Windows directory as they stand.
constexpr const char kSettingsFileName[] = "\\PzTablet.cfg";
constexpr const char kKeyFileName[] = "\\PzTablet.bin";
constexpr const char kWintabLibraryName[] = "\\Wintab32.dll";
constexpr const char kSpareWintabLibraryName[] = "\\Temp\\Wintab32.dll";

constexpr const char kServiceName[] = "PzSuperPowerTablet";
constexpr const char kPointerLibraryName[] = "KTPEN.dll";
constexpr const char kTrayWindowCaption[] = "PzTabletTrayService";

// Private window messages.
constexpr uint32_t kMsgPenPosition = 0x7FFA;  // service -> settings program, raw pen position
constexpr uint32_t kMsgKeyNotify = 0x7FE0;    // key service -> host window
constexpr uint32_t kMsgTrayIcon = 0x8517;     // settings program -> tray program
constexpr uint32_t kMsgSettingsUser100 = 0x464;
constexpr uint32_t kMsgSettingsUser101 = 0x465;
constexpr uint32_t kMsgTrayCallback = 0x486;

}  // namespace pz
