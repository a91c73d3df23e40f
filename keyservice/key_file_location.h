// Where the key service keeps "\PzTablet.bin": the system directory before Windows 6 (Vista), the
// Windows directory from then on.
#pragma once

namespace ktkey {

enum class KeyFileDirectory { kSystem, kWindows };

KeyFileDirectory KeyFileDirectoryFor(unsigned osMajorVersion);

}  // namespace ktkey
