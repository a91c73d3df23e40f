#include "service_base.h"

#include <cstdio>
#include <cstring>

namespace {
// The control manager's callbacks reach the single service object through this record.
CServiceBase* g_service = nullptr;

constexpr DWORD kStatusWaitHint = 3000;
constexpr DWORD kDefaultErrorId = 0xC0000002;
constexpr DWORD kDefaultWarningId = 0x80000001;
constexpr DWORD kDefaultInformationId = 0x40000000;

// The value of -l or -p: the rest of the argument, or the next argument when the rest is empty.
char* TakeOptionValue(int argc, char** argv, int& index) {
    char* rest = argv[index] + 2;
    if (*rest != '\0') return rest;
    if (index + 1 < argc) return argv[++index];
    return nullptr;
}
}  // namespace

CServiceBase::CServiceBase(const char* serviceName, const char* displayName)
    : m_serviceName(serviceName), m_displayName(displayName != nullptr ? displayName : serviceName) {
    g_service = this;
    m_status.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    m_isNt = GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_NT;
    if (m_isNt) LookUpUserSid();
}

CServiceBase::~CServiceBase() {
    if (g_service == this) g_service = nullptr;
    delete[] static_cast<BYTE*>(m_userSid);
    if (m_inProcessThread != nullptr) CloseHandle(m_inProcessThread);
}

void CServiceBase::LookUpUserSid() {
    char user[256];
    DWORD userLength = sizeof user;
    if (!GetUserNameA(user, &userLength)) return;
    BYTE sid[4096];
    DWORD sidSize = sizeof sid;
    char domain[256];
    DWORD domainLength = sizeof domain;
    SID_NAME_USE use;
    if (!LookupAccountNameA(nullptr, user, sid, &sidSize, domain, &domainLength, &use) || !IsValidSid(sid)) return;
    DWORD length = GetLengthSid(sid);
    auto* copy = new BYTE[length];
    CopySid(length, copy, sid);
    m_userSid = copy;
}

BOOL CServiceBase::ParseCommandLine(int argc, char** argv) {
    enum class Action { Default, Install, Uninstall, Start, Stop } action = Action::Default;
    for (int i = 1; i < argc; ++i) {
        if (argv[i][0] != '-') continue;
        switch (argv[i][1]) {
            case 'i':
                action = Action::Install;
                break;
            case 'u':
                action = Action::Uninstall;
                break;
            case 's':
                action = Action::Start;
                break;
            case 'e':
                action = Action::Stop;
                break;
            case 'd':
            case 'f':
                m_inProcess = TRUE;
                return RunInProcess(argc, argv, argv[i][1] == 'f');
            case 'l':
                m_accountName = TakeOptionValue(argc, argv, i);
                break;
            case 'p':
                m_password = TakeOptionValue(argc, argv, i);
                break;
            default:
                break;
        }
    }
    switch (action) {
        case Action::Install:
            return Install();
        case Action::Uninstall:
            return Uninstall();
        case Action::Start:
            return StartInstalledService();
        case Action::Stop:
            return StopInstalledService();
        case Action::Default:
            break;
    }
    if (m_isNt) return StartDispatcher();
    m_inProcess = TRUE;
    return RunInProcess(argc, argv, TRUE);
}

BOOL CServiceBase::StartDispatcher() {
    SERVICE_TABLE_ENTRYA table[] = {{const_cast<char*>(m_serviceName), ServiceMain}, {nullptr, nullptr}};
    if (StartServiceCtrlDispatcherA(table)) return TRUE;
    char text[255];
    GetErrorText(text, sizeof text);
    LogEvent(text, EVENTLOG_ERROR_TYPE);
    return FALSE;
}

void WINAPI CServiceBase::ServiceMain(DWORD argc, char** argv) {
    CServiceBase* service = g_service;
    service->m_statusHandle = RegisterServiceCtrlHandlerA(service->m_serviceName, ControlHandler);
    if (service->m_statusHandle == nullptr) return;
    if (service->SetStatus(SERVICE_START_PENDING, kStatusWaitHint, 0)) service->Run(argc, argv);
    if (service->m_statusHandle != nullptr) service->SetStatus(SERVICE_STOPPED, kStatusWaitHint, 0);
}

void WINAPI CServiceBase::ControlHandler(DWORD control) {
    if (g_service != nullptr) g_service->HandleControl(control);
}

void CServiceBase::HandleControl(DWORD control) {
    switch (control) {
        case SERVICE_CONTROL_STOP:
            m_status.dwCurrentState = SERVICE_STOP_PENDING;
            OnStop();
            break;
        case SERVICE_CONTROL_PAUSE:
            m_status.dwCurrentState = SERVICE_PAUSE_PENDING;
            OnPause();
            break;
        case SERVICE_CONTROL_CONTINUE:
            m_status.dwCurrentState = SERVICE_CONTINUE_PENDING;
            OnContinue();
            break;
        case SERVICE_CONTROL_INTERROGATE:
            SetStatus(m_status.dwCurrentState, kStatusWaitHint, 0);
            break;
        case SERVICE_CONTROL_SHUTDOWN:
            OnShutdown();
            break;
        default:
            break;
    }
}

BOOL CServiceBase::SetStatus(DWORD state, DWORD waitHint, DWORD specificCode) {
    if (m_inProcess) return TRUE;
    m_status.dwControlsAccepted = state == SERVICE_START_PENDING ? 0 : m_runningControls;
    m_status.dwCurrentState = state;
    m_status.dwWin32ExitCode = specificCode != 0 ? ERROR_SERVICE_SPECIFIC_ERROR : NO_ERROR;
    m_status.dwServiceSpecificExitCode = specificCode;
    m_status.dwWaitHint = waitHint;
    if (state == SERVICE_RUNNING || state == SERVICE_STOPPED)
        m_status.dwCheckPoint = 0;
    else
        m_status.dwCheckPoint = static_cast<DWORD>(++m_checkPoint);
    BOOL ok = SetServiceStatus(m_statusHandle, &m_status);
    if (!ok) LogEvent("SetServiceStatus() failed", EVENTLOG_ERROR_TYPE);
    return ok;
}

BOOL CServiceBase::RunInProcess(int argc, char** argv, BOOL) {
    m_inProcessArgc = argc;
    m_inProcessArgv = argv;
    m_inProcessThread = CreateThread(nullptr, 0, InProcessThreadProc, this, 0, nullptr);
    return TRUE;
}

DWORD WINAPI CServiceBase::InProcessThreadProc(void* parameter) {
    auto* service = static_cast<CServiceBase*>(parameter);
    service->Run(static_cast<DWORD>(service->m_inProcessArgc), service->m_inProcessArgv);
    return 0;
}

void CServiceBase::LogEvent(const char* text, WORD type, DWORD id) {
    m_lastError = GetLastError();
    if (id == static_cast<DWORD>(-1)) {
        id = type == EVENTLOG_ERROR_TYPE     ? kDefaultErrorId
             : type == EVENTLOG_WARNING_TYPE ? kDefaultWarningId
                                             : kDefaultInformationId;
    }
    HANDLE source = RegisterEventSourceA(nullptr, m_serviceName);
    if (source == nullptr) return;
    const char* strings[] = {text};
    ReportEventA(source, type, 0, id, m_userSid, 1, 0, strings, nullptr);
    DeregisterEventSource(source);
}

void CServiceBase::OpenConsole() {
    if (m_consoleAttached) return;
    m_consoleAttached = TRUE;
    AllocConsole();
    if (freopen("CONOUT$", "w", stdout) != nullptr) setvbuf(stdout, nullptr, _IONBF, 0);
    if (freopen("CONOUT$", "w", stderr) != nullptr) setvbuf(stderr, nullptr, _IONBF, 0);
    if (freopen("CONIN$", "r", stdin) != nullptr) setvbuf(stdin, nullptr, _IONBF, 0);
}

void GetErrorText(char* buffer, DWORD size) {
    buffer[0] = '\0';
    char* message = nullptr;
    DWORD length =
        FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ARGUMENT_ARRAY,
                       nullptr, GetLastError(), LANG_NEUTRAL, reinterpret_cast<char*>(&message), 0, nullptr);
    if (message == nullptr) return;
    if (length >= 2 && length + 14 <= size) {
        std::memcpy(buffer, message, length - 2);
        buffer[length - 2] = '\0';
    }
    LocalFree(message);
}
