#include "key_set_view.h"

#include <windows.h>

#include <cstring>

#include "key_file.h"
#include "key_file_io.h"
#include "object_names.h"
#include "shared_block.h"

namespace ktkey {
namespace {

HANDLE g_mapping = nullptr;
void* g_view = nullptr;
pz::KeySetRecord g_privateKeySet;
pz::KeySetRecord* g_keySet = &g_privateKeySet;

}  // namespace

void AttachKeySet() {
    g_mapping = pz::CreateSharedBlock(pz::kKeySetBlockName, pz::kKeySetBlockSize);
    if (g_mapping != nullptr) g_view = MapViewOfFile(g_mapping, FILE_MAP_ALL_ACCESS, 0, 0, 0);
    if (g_view == nullptr && g_mapping != nullptr) {
        // A mapping without a view is no use to anyone here: fall back like a failed creation.
        CloseHandle(g_mapping);
        g_mapping = nullptr;
    }
    if (g_view != nullptr) {
        g_keySet = static_cast<pz::KeySetRecord*>(g_view);
    } else {
        std::memset(&g_privateKeySet, 0, sizeof g_privateKeySet);
        g_keySet = &g_privateKeySet;
    }
    if (!LoadKeyFileInto(*g_keySet)) pz::SetDefaultKeys(*g_keySet);
}

void DetachKeySet() {
    g_keySet = &g_privateKeySet;
    if (g_view != nullptr) UnmapViewOfFile(g_view);
    if (g_mapping != nullptr) CloseHandle(g_mapping);
    g_view = nullptr;
    g_mapping = nullptr;
}

pz::KeySetRecord& KeySet() {
    return *g_keySet;
}

}  // namespace ktkey
