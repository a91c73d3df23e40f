// A generic Windows service: command line, status reports, control handler, dispatcher, console
// commands that install, remove, start and stop it, and the event log. The work itself is Run and OnStop
// of a derived class.
#pragma once

#include <windows.h>

class CServiceBase {
  public:
    CServiceBase(const char* serviceName, const char* displayName);
    virtual ~CServiceBase();
    CServiceBase(const CServiceBase&) = delete;
    CServiceBase& operator=(const CServiceBase&) = delete;

    virtual void Run(DWORD argc, char** argv) = 0;
    virtual void OnStop() = 0;
    virtual void OnPause() {}
    virtual void OnContinue() {}
    virtual void OnShutdown() {}
    virtual BOOL ParseCommandLine(int argc, char** argv);
    virtual BOOL StartDispatcher();
    virtual BOOL Install();
    virtual BOOL Uninstall();
    virtual BOOL StopInstalledService();
    virtual BOOL StartInstalledService();
    virtual BOOL RunInProcess(int argc, char** argv, BOOL flag);
    virtual BOOL AddEventSource(const char* messageFile, DWORD typesSupported);
    virtual BOOL RemoveEventSource();
    virtual void LogEvent(const char* text, WORD type, DWORD id = static_cast<DWORD>(-1));

    BOOL SetStatus(DWORD state, DWORD waitHint, DWORD specificCode);

    bool IsNt() const { return m_isNt != FALSE; }
    bool InProcess() const { return m_inProcess != FALSE; }
    // The thread started by RunInProcess, or none.
    HANDLE InProcessThread() const { return m_inProcessThread; }

  protected:
    const char* m_serviceName;
    const char* m_displayName;
    LONG m_checkPoint = 0;
    DWORD m_lastError = 0;
    BOOL m_inProcess = FALSE;
    SERVICE_STATUS m_status{};
    SERVICE_STATUS_HANDLE m_statusHandle = nullptr;
    DWORD m_runningControls = SERVICE_ACCEPT_STOP;
    PSID m_userSid = nullptr;
    BOOL m_isNt = FALSE;
    BOOL m_consoleAttached = FALSE;

    DWORD m_desiredAccess = SERVICE_ALL_ACCESS;
    DWORD m_serviceType = SERVICE_WIN32_OWN_PROCESS;
    DWORD m_startType = SERVICE_AUTO_START;
    DWORD m_errorControl = SERVICE_ERROR_NORMAL;
    const char* m_loadOrderGroup = nullptr;
    const char* m_dependencies = nullptr;
    char* m_accountName = nullptr;
    char* m_password = nullptr;

  private:
    static void WINAPI ServiceMain(DWORD argc, char** argv);
    static void WINAPI ControlHandler(DWORD control);
    static DWORD WINAPI InProcessThreadProc(void* parameter);
    void HandleControl(DWORD control);
    void LookUpUserSid();
    void OpenConsole();
    // Opens the manager and the service for the console commands, printing the failure.
    bool OpenInstalledService(SC_HANDLE& manager, SC_HANDLE& service);
    // Sends a stop and prints the progress; true when the service reached SERVICE_STOPPED.
    bool StopAndReport(SC_HANDLE service);

    HANDLE m_inProcessThread = nullptr;
    int m_inProcessArgc = 0;
    char** m_inProcessArgv = nullptr;
};

// The system's text for the last error, without its line end; empty when it does not fit the buffer.
void GetErrorText(char* buffer, DWORD size);
