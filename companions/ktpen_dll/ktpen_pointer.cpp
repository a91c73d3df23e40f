// "KTPEN.dll": the pointer library the tablet service sends every pointer event through. It injects the
// event its flags describe with the system's mouse_event; the pen state of the last two slots (buttons,
// tablet X and Y) is not needed for that.
#include <windows.h>

extern "C" __declspec(dllexport) void __cdecl mouse_eventEx(DWORD flags, DWORD dx, DWORD dy, DWORD data, DWORD, DWORD) {
    mouse_event(flags, dx, dy, data, 0);
}
