#include "key_file.h"

#include <algorithm>
#include <cstring>

namespace pz {

void SetDefaultKeys(KeySetRecord& record) {
    std::memset(&record, 0, sizeof record);
    static constexpr uint8_t kDefaultKeys[4] = {0x11, 0x12, 0x10, 0x20};  // Ctrl, Alt, Shift, Space
    for (int key = 0; key < 4; ++key) record.Groups[0].Actions[key].Bytes[0] = kDefaultKeys[key];
}

bool LoadKeyFile(const uint8_t* bytes, size_t size, KeySetRecord& record) {
    if (bytes == nullptr || size < kKeyFileMinimumSize) {
        SetDefaultKeys(record);
        return false;
    }
    const size_t payload = std::min<size_t>(size, kKeyFileSize) - kKeyFileReservedBytes;
    std::memcpy(&record, bytes + kKeyFileReservedBytes, payload);
    return true;
}

void StoreKeyFile(const KeySetRecord& record, std::vector<uint8_t>& image) {
    if (image.size() < kKeyFileSize) image.resize(kKeyFileSize, 0);
    std::memcpy(image.data() + kKeyFileReservedBytes, &record, sizeof record);
}

std::vector<uint8_t> DefaultKeyFile() {
    KeySetRecord record;
    SetDefaultKeys(record);
    std::vector<uint8_t> image;
    StoreKeyFile(record, image);
    return image;
}

}  // namespace pz
