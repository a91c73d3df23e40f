// "\PzTablet.bin": four reserved bytes followed by the KeySetRecord.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "records.h"

namespace pz {

// Ctrl, Alt, Shift and Space on the four keys of group 1; everything else zero.
void SetDefaultKeys(KeySetRecord& record);

// Loads a key file image the way the key service reads it at attach: fewer than 1560 bytes give the
// defaults (returns false); otherwise the bytes after the reserved four (at most 3112) are copied to the
// start of the record and the rest of the record is left as it is (returns true).
bool LoadKeyFile(const uint8_t* bytes, size_t size, KeySetRecord& record);

// Writes the whole record at offset 4 of a key file image, keeping the reserved bytes and growing the
// image to full size when it is shorter.
void StoreKeyFile(const KeySetRecord& record, std::vector<uint8_t>& image);

// A complete key file for a first installation: zero reserved bytes and the default keys.
std::vector<uint8_t> DefaultKeyFile();

}  // namespace pz
