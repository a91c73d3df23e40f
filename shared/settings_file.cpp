#include "settings_file.h"

#include <cstring>

namespace pz {
namespace {

// Reads the little-endian u16 at offset when the file holds it whole.
bool ReadU16(const uint8_t* bytes, size_t size, size_t offset, uint16_t& value) {
    if (bytes == nullptr || size < offset + 2) return false;
    value = static_cast<uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
    return true;
}

}  // namespace

void SetDefaultPenSettings(SettingsRecord& record) {
    record.PressureLevel = kLinearPressureLevel;
    record.Reserved10 = 0;
    record.AreaLeft = 0;
    record.AreaTop = 0;
    record.AreaRight = kTabletMaxX;
    record.AreaBottom = kTabletMaxY;
}

int LoadSettingsFileCore(const uint8_t* bytes, size_t size, SettingsRecord& record) {
    SetDefaultPenSettings(record);
    struct FileField {
        size_t offset;
        uint16_t SettingsRecord::*field;
    };
    static constexpr FileField kFields[] = {
        {0, &SettingsRecord::PressureLevel}, {2, &SettingsRecord::Reserved10}, {8, &SettingsRecord::AreaLeft},
        {10, &SettingsRecord::AreaTop},      {12, &SettingsRecord::AreaRight}, {14, &SettingsRecord::AreaBottom},
    };
    int loaded = 0;
    for (const FileField& f : kFields) {
        if (ReadU16(bytes, size, f.offset, record.*f.field)) ++loaded;
    }
    return loaded;
}

void EncodeSettingsFile(const ControlPanelBlock& block, uint8_t (&image)[kSettingsFileSize]) {
    // The suite's targets are little-endian, so the block's bytes are the file's bytes.
    std::memcpy(image, reinterpret_cast<const uint8_t*>(&block) + offsetof(ControlPanelBlock, Record), sizeof image);
    std::memset(image + offsetof(SettingsRecord, PositionWindow), 0, sizeof block.Record.PositionWindow);
    std::memset(image + offsetof(SettingsRecord, ManualAreaWindow), 0, sizeof block.Record.ManualAreaWindow);
}

bool LoadSettingsFile(const uint8_t* bytes, size_t size, SettingsRecord& record) {
    LoadSettingsFileCore(bytes, size, record);
    // A file shorter than the whole image is not one the service wrote: it carries just the core.
    if (bytes == nullptr || size < kSettingsFileSize) return false;
    struct Span {
        size_t offset;
        size_t length;
    };
    static constexpr Span kRestored[] = {
        {offsetof(SettingsRecord, ShowTrayIcon), 2 * sizeof(uint16_t)},  // ShowTrayIcon, DisableRightKey
        {offsetof(SettingsRecord, ScreenLeft), 8 * sizeof(int16_t)},     // screen and desktop rectangles
        {offsetof(SettingsRecord, Mapping), sizeof(MappingSettings)},
    };
    for (const Span& span : kRestored)
        std::memcpy(reinterpret_cast<uint8_t*>(&record) + span.offset, bytes + span.offset, span.length);
    return true;
}

}  // namespace pz
