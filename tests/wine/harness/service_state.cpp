// Prints the current state number of the service named on the command line (1 stopped ... 4 running),
// or "missing" when it is not installed; for the console tests, which cannot reach the manager otherwise.
#include <windows.h>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
    if (manager == nullptr) return 1;
    SC_HANDLE service = OpenServiceA(manager, argv[1], SERVICE_QUERY_STATUS);
    SERVICE_STATUS status{};
    if (service == nullptr)
        std::printf("missing\n");
    else if (QueryServiceStatus(service, &status))
        std::printf("%lu\n", status.dwCurrentState);
    if (service != nullptr) CloseServiceHandle(service);
    CloseServiceHandle(manager);
    return 0;
}
