#include "tablet_service.h"

#include <algorithm>

#include "object_names.h"
#include "object_security.h"
#include "service_runtime.h"
#include "settings_link.h"
#include "tablet_discovery.h"
#include "tablet_threads.h"
#include "user_desktop.h"
#include "wintab_library_check.h"
#include "wintab_server.h"

namespace {
constexpr DWORD kStatusWaitHint = 3000;
constexpr DWORD kStopWaitHint = 11000;
constexpr DWORD kRetryMs = 6000;

HANDLE CreateManualEvent() {
    return CreateEventA(nullptr, TRUE, FALSE, nullptr);
}
}  // namespace

CTabletService::CTabletService(const char* serviceName, const char* displayName)
    : CServiceBase(serviceName, displayName) {}

void CTabletService::Run(DWORD, char**) {
    SetStatus(SERVICE_START_PENDING, kStatusWaitHint, 0);
    SetStatus(SERVICE_RUNNING, kStatusWaitHint, 0);
    // In process the kernel objects keep the default security.
    if (!InProcess())
        pz::WidenObjectSecurity(pz::ObjectSecurity, pz::kTabletServiceProcessAccess, pz::kSharedBlockAccess);
    pz::EnsureWintabLibrary();
    ktpen::g_events.stop = CreateManualEvent();
    ktpen::g_events.readerEnded = CreateManualEvent();
    ktpen::g_events.readerDone = CreateManualEvent();
    if (ktpen::g_events.stop == nullptr || ktpen::g_events.readerEnded == nullptr ||
        ktpen::g_events.readerDone == nullptr)
        return;
    if (!StartLinks()) return;
    // Each tablet's reader loads and frees the pointer library; this reference keeps it from being unloaded
    // and loaded again for every tablet, which costs handles that a library may never give back.
    HMODULE pointerLibrary = LoadLibraryA(pz::kPointerLibraryName);
    DeviceLoop();
    Shutdown();
    if (pointerLibrary != nullptr) FreeLibrary(pointerLibrary);
}

bool CTabletService::StartLinks() {
    const bool linked = pz::OpenSettingsLink();
    ktpen::Pipeline().SetSettingsView(pz::SettingsView());
    if (!linked) return false;
    // Without the save events the settings program's saves are lost, but the pen still works.
    m_saver.Open(pz::SettingsView(), pz::SettingsFilePath());
    ktpen::Pipeline().SetCurrentContext(nullptr);
    // Clients may connect from here on, so nothing current is set after this.
    if (!ktpen::CreateWintabControlBlock()) return false;
    return true;
}

void CTabletService::DeviceLoop() {
    ktpen::AttachToUserDesktop();  // this thread releases a held button when the tablet is lost
    HANDLE waitSet[2] = {ktpen::g_events.stop, ktpen::g_events.readerEnded};
    for (;;) {
        if (!ktpen::DiscoverTablet()) {
            if (WaitServingSaves(waitSet, 1, kRetryMs) != WAIT_TIMEOUT) return;
            continue;
        }
        if (m_readyEvent == nullptr) m_readyEvent = CreateEventA(nullptr, TRUE, FALSE, pz::kWintabReadyEventName);
        ResetEvent(ktpen::g_events.readerEnded);
        if (WaitServingSaves(waitSet, 2, INFINITE) != 1) return;
        // The tablet was lost: the reader has ended; search again after a pause.
        ktpen::JoinReaderThread();
        ktpen::Pipeline().OnTabletLost();  // a button the pen held must not stay down while it is away
        ktpen::CloseTablet();
        if (WaitServingSaves(waitSet, 1, kRetryMs) != WAIT_TIMEOUT) return;
    }
}

DWORD CTabletService::WaitServingSaves(const HANDLE* handles, DWORD count, DWORD timeoutMs) {
    HANDLE all[MAXIMUM_WAIT_OBJECTS];
    std::copy(handles, handles + count, all);
    std::copy(m_saver.Handles(), m_saver.Handles() + m_saver.HandleCount(), all + count);
    const DWORD start = GetTickCount();
    for (;;) {
        const DWORD elapsed = GetTickCount() - start;
        const DWORD left = timeoutMs == INFINITE ? INFINITE : timeoutMs - std::min(elapsed, timeoutMs);
        const DWORD result = WaitForMultipleObjects(count + m_saver.HandleCount(), all, FALSE, left);
        if (result >= WAIT_OBJECT_0 + count && result < WAIT_OBJECT_0 + count + m_saver.HandleCount()) {
            m_saver.OnSignalled(all[result - WAIT_OBJECT_0]);
            continue;
        }
        return result == WAIT_TIMEOUT ? WAIT_TIMEOUT : result - WAIT_OBJECT_0;
    }
}

void CTabletService::Shutdown() {
    ktpen::JoinTabletThreads();
    ktpen::Pipeline().OnTabletLost();
    ktpen::CloseTablet();
    // The reader no longer writes into any context block: the Wintab threads may release theirs.
    ktpen::CloseWintabServer();
    if (m_readyEvent != nullptr) CloseHandle(m_readyEvent);
    m_readyEvent = nullptr;
    m_saver.Close();
    ktpen::Pipeline().SetSettingsView(nullptr);
    pz::CloseSettingsLink();
    pz::FreeObjectSecurity(pz::ObjectSecurity);
}

void CTabletService::OnStop() {
    SetStatus(SERVICE_STOP_PENDING, kStopWaitHint, 0);
    if (ktpen::g_events.readerDone != nullptr) SetEvent(ktpen::g_events.readerDone);
    if (ktpen::g_events.stop != nullptr) {
        ktpen::SignalReadCompletion();
        SetEvent(ktpen::g_events.stop);
    }
}
