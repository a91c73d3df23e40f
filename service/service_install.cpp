// The console commands that install, remove, start and stop the service through the control manager,
// or through the RunServices key where there is no control manager.
#include <cstdio>

#include "service_base.h"

namespace {
constexpr char kRunServicesKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\RunServices";
constexpr DWORD kErrorTextSize = 256;
constexpr DWORD kPollMs = 1000;

void PrintWithError(const char* format, const char* name) {
    char text[kErrorTextSize];
    GetErrorText(text, sizeof text);
    if (name != nullptr)
        std::printf(format, name, text);
    else
        std::printf(format, text);
}
}  // namespace

BOOL CServiceBase::Install() {
    OpenConsole();
    char path[1024];
    if (GetModuleFileNameA(nullptr, path, 1023) == 0) {
        PrintWithError("Unable to install %s - %s\n", m_displayName);
        return FALSE;
    }
    if (!m_isNt) {
        HKEY key;
        if (RegCreateKeyA(HKEY_LOCAL_MACHINE, kRunServicesKey, &key) != ERROR_SUCCESS) return FALSE;
        RegSetValueExA(key, m_serviceName, 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(path),
                       static_cast<DWORD>(lstrlenA(path) + 1));
        RegCloseKey(key);
        return TRUE;
    }
    SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    if (manager == nullptr) {
        PrintWithError("OpenSCManager failed - %s\n", nullptr);
        return FALSE;
    }
    SC_HANDLE service =
        CreateServiceA(manager, m_serviceName, m_displayName, m_desiredAccess, m_serviceType, m_startType,
                       m_errorControl, path, m_loadOrderGroup, nullptr, m_dependencies, m_accountName, m_password);
    const bool installed = service != nullptr;
    if (installed) {
        std::printf("%s installed.\n", m_displayName);
        CloseServiceHandle(service);
    } else {
        PrintWithError("CreateService failed - %s\n", nullptr);
    }
    CloseServiceHandle(manager);
    if (installed) {
        AddEventSource(path, EVENTLOG_ERROR_TYPE | EVENTLOG_WARNING_TYPE | EVENTLOG_INFORMATION_TYPE);
        LogEvent("Service installed", EVENTLOG_INFORMATION_TYPE);
    }
    return installed;
}

bool CServiceBase::OpenInstalledService(SC_HANDLE& manager, SC_HANDLE& service) {
    manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    if (manager == nullptr) {
        PrintWithError("OpenSCManager failed - %s\n", nullptr);
        return false;
    }
    service = OpenServiceA(manager, m_serviceName, SERVICE_ALL_ACCESS);
    if (service == nullptr) {
        PrintWithError("OpenService failed - %s\n", nullptr);
        CloseServiceHandle(manager);
        return false;
    }
    return true;
}

bool CServiceBase::StopAndReport(SC_HANDLE service) {
    SERVICE_STATUS status{};
    if (!ControlService(service, SERVICE_CONTROL_STOP, &status)) return false;
    std::printf("Stopping %s.", m_displayName);
    Sleep(kPollMs);
    while (QueryServiceStatus(service, &status) && status.dwCurrentState == SERVICE_STOP_PENDING) {
        std::printf(".");
        Sleep(kPollMs);
    }
    const bool stopped = status.dwCurrentState == SERVICE_STOPPED;
    std::printf(stopped ? "\n%s stopped.\n" : "\n%s failed to stop.\n", m_displayName);
    return stopped;
}

BOOL CServiceBase::Uninstall() {
    OpenConsole();
    if (!m_isNt) {
        HKEY key;
        if (RegOpenKeyA(HKEY_LOCAL_MACHINE, kRunServicesKey, &key) != ERROR_SUCCESS) return FALSE;
        RegDeleteValueA(key, m_serviceName);
        RegCloseKey(key);
        return TRUE;
    }
    SC_HANDLE manager;
    SC_HANDLE service;
    if (!OpenInstalledService(manager, service)) return FALSE;
    StopAndReport(service);
    const bool removed = DeleteService(service) != FALSE;
    if (removed)
        std::printf("%s removed.\n", m_displayName);
    else
        PrintWithError("DeleteService failed - %s\n", nullptr);
    CloseServiceHandle(service);
    CloseServiceHandle(manager);
    if (removed) RemoveEventSource();
    return removed;
}

BOOL CServiceBase::StopInstalledService() {
    SC_HANDLE manager;
    SC_HANDLE service;
    if (!OpenInstalledService(manager, service)) return FALSE;
    const bool stopped = StopAndReport(service);
    CloseServiceHandle(service);
    CloseServiceHandle(manager);
    return stopped;
}

BOOL CServiceBase::StartInstalledService() {
    SC_HANDLE manager;
    SC_HANDLE service;
    if (!OpenInstalledService(manager, service)) return FALSE;
    std::printf("Starting up %s.", m_displayName);
    bool started = false;
    if (!StartServiceA(service, 0, nullptr)) {
        char text[kErrorTextSize];
        GetErrorText(text, sizeof text);
        std::printf("\n%s failed to start: %s\n", m_displayName, text);
    } else {
        SERVICE_STATUS status{};
        Sleep(kPollMs);
        while (QueryServiceStatus(service, &status) && status.dwCurrentState == SERVICE_START_PENDING) {
            std::printf(".");
            Sleep(kPollMs);
        }
        started = status.dwCurrentState == SERVICE_RUNNING;
        std::printf(started ? "\n%s started.\n" : "\n%s failed to start.\n", m_displayName);
    }
    CloseServiceHandle(service);
    CloseServiceHandle(manager);
    return started;
}
