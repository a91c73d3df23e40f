// Entry point of KtKey.dll: the KeySetBlock and the key file at load, their release at unload.
#include <windows.h>

#include "key_set_view.h"
#include "object_security.h"

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, void*) {
    switch (reason) {
        case DLL_PROCESS_ATTACH:
            // The block must be reachable by the settings program whatever account the host runs under.
            pz::WidenObjectSecurity(pz::ObjectSecurity, pz::kKeyServiceProcessAccess, pz::kSharedBlockAccess);
            ktkey::AttachKeySet();
            break;
        case DLL_PROCESS_DETACH:
            ktkey::DetachKeySet();
            pz::FreeObjectSecurity(pz::ObjectSecurity);
            break;
        default:
            break;
    }
    return TRUE;
}
