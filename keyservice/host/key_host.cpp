// PzKeyHost: runs the key service in the user's session, where the settings program finds its block and
// save event. Started at logon; a second start in the same session ends at once. "PzKeyHost /stop" ends
// the running host; logoff ends it too.
#include <windows.h>

#include "host_window.h"
#include "key_file_io.h"

namespace {

// The session's one host: created at start and never closed, and set to stop the device thread.
constexpr char kQuitEventName[] = "PzKeyHostQuit";

using StartDevServiceFn = HANDLE(WINAPI*)(HANDLE);

bool IsStopRequest(const char* commandLine) {
    while (*commandLine == ' ') ++commandLine;
    return lstrcmpiA(commandLine, "/stop") == 0 || lstrcmpiA(commandLine, "-stop") == 0;
}

// 0 when a running host was told to stop, 1 when none runs.
int StopRunningHost() {
    HANDLE quit = OpenEventA(EVENT_MODIFY_STATE, FALSE, kQuitEventName);
    if (quit == nullptr) return 1;
    SetEvent(quit);
    CloseHandle(quit);
    return 0;
}

int RunHost() {
    HANDLE quit = CreateEventA(nullptr, TRUE, FALSE, kQuitEventName);
    if (quit == nullptr) return 1;
    if (GetLastError() == ERROR_ALREADY_EXISTS) return 0;

    // Without a file the settings program's first save would be lost (the library never creates it).
    ktkey::EnsureKeyFile();
    HMODULE library = LoadLibraryA(PZ_KEY_LIBRARY);
    auto start =
        library != nullptr
            ? reinterpret_cast<StartDevServiceFn>(reinterpret_cast<void*>(GetProcAddress(library, "StartDevService")))
            : nullptr;
    HANDLE deviceThread = start != nullptr ? start(quit) : nullptr;
    if (deviceThread == nullptr) {
        if (library != nullptr) FreeLibrary(library);
        return 1;
    }
    keyhost::RunUntilThreadEnds(deviceThread, quit);
    CloseHandle(deviceThread);
    FreeLibrary(library);
    return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    return IsStopRequest(commandLine) ? StopRunningHost() : RunHost();
}
