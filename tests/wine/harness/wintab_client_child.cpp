// A Wintab client in a process of its own, for tests that end it without closing: connects, names its
// window, sets the event named on the command line, and then only pumps messages until it is killed.
#include <windows.h>

#include "raw_wintab_client.h"

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    rawwintab::MessageWindow window;
    rawwintab::RawClient client;
    if (window.Handle() == nullptr || !client.Connect()) return 1;
    client.Block()->ClientWindow = window.Value();
    client.Command(pz::kCommandEnable);
    HANDLE ready = OpenEventA(EVENT_MODIFY_STATE, FALSE, argv[1]);
    if (ready == nullptr) return 1;
    SetEvent(ready);
    CloseHandle(ready);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    return 0;
}
