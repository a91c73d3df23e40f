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

}  // namespace pz
