// A program for the launch key tests: writes its command line after the program name to the file named
// by PZ_LAUNCH_PROBE_OUT.
#include <windows.h>

#include <cstring>

int main() {
    const char* line = GetCommandLineA();
    // Skip the program name, quoted or not, and the blanks after it.
    if (*line == '"') {
        line = std::strchr(line + 1, '"');
        line = line != nullptr ? line + 1 : "";
    } else {
        while (*line != '\0' && *line != ' ') ++line;
    }
    while (*line == ' ') ++line;
    char path[MAX_PATH];
    if (GetEnvironmentVariableA("PZ_LAUNCH_PROBE_OUT", path, MAX_PATH) == 0) return 1;
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    DWORD written = 0;
    WriteFile(file, line, static_cast<DWORD>(std::strlen(line)), &written, nullptr);
    CloseHandle(file);
    return 0;
}
