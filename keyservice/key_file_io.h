// Reading and writing "\PzTablet.bin" in the directory of key_file_location.h.
#pragma once

#include <string>

#include "records.h"

namespace ktkey {

// The key file's full path on this system.
std::string KeyFilePath();

// Loads the file into `record` as the library does at attach; false when the file cannot be opened or is
// too short (pz::LoadKeyFile then set the defaults).
bool LoadKeyFileInto(pz::KeySetRecord& record);

// Writes the whole record at offset 4 of the existing file, leaving the reserved bytes alone. Nothing is
// written when the file does not exist.
bool WriteKeyFile(const pz::KeySetRecord& record);

// Creates the file with zero reserved bytes and the default keys when it does not exist, so that the
// first save from the settings program is not lost. True when it exists afterwards.
bool EnsureKeyFile();

}  // namespace ktkey
