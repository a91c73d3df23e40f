// Replacing a settings file so that a crash at any moment leaves either the old or the new file whole.
#pragma once

#include <windows.h>

namespace pz {

// Writes `bytes` to "<path>.new" in the same directory, flushes it and moves it over `path` with
// MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH. On failure `path` is untouched and the temporary
// file removed. A crash may leave "<path>.new" behind; the next write replaces it.
bool ReplaceFileAtomically(const char* path, const void* bytes, DWORD size);

}  // namespace pz
