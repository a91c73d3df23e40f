#include "key_file_location.h"

namespace ktkey {

KeyFileDirectory KeyFileDirectoryFor(unsigned osMajorVersion) {
    return osMajorVersion < 6 ? KeyFileDirectory::kSystem : KeyFileDirectory::kWindows;
}

}  // namespace ktkey
