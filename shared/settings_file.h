// "\PzTablet.cfg": the first bytes of the SettingsRecord image. A 16-byte file carries the pressure level
// and the active area; a longer file written by the service also carries the rest of record offsets 0..135.
#pragma once

#include <cstddef>
#include <cstdint>

#include "records.h"

namespace pz {

constexpr uint16_t kTabletMaxX = 10206;
constexpr uint16_t kTabletMaxY = 7422;
constexpr uint16_t kLinearPressureLevel = 100;

// Fills the record with what a missing piece of the file stands for: linear pressure, the whole tablet.
void SetDefaultPenSettings(SettingsRecord& record);

// Loads the fields the file's first 16 bytes cover. Bytes 4..7 (the place of PositionWindow) are never
// loaded. A field the file does not cover completely keeps the default of SetDefaultPenSettings, so a
// truncated file still gives a usable area. Returns how many of the six fields came from the file.
int LoadSettingsFileCore(const uint8_t* bytes, size_t size, SettingsRecord& record);

// The file the service writes: the block's record offsets 0..135, the 16 core bytes first.
constexpr uint32_t kSettingsFileSize = kSettingsRecordImageSize;

// Fills `image` with the block's record image. Window handles mean nothing to a later run, so
// PositionWindow and ManualAreaWindow are written as 0.
void EncodeSettingsFile(const ControlPanelBlock& block, uint8_t (&image)[kSettingsFileSize]);

// Loads the core as LoadSettingsFileCore does; a file holding the whole image also restores
// ShowTrayIcon, DisableRightKey, the screen and desktop rectangles and the MappingSettings group. The
// window fields, the tablet's own flags and the tablet properties are never restored: they belong to
// the running programs and the opened tablet. Returns whether the extended fields were restored.
bool LoadSettingsFile(const uint8_t* bytes, size_t size, SettingsRecord& record);

}  // namespace pz
