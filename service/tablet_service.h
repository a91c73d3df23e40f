// The tablet service: its run (start order and device loop) and its stop request.
#pragma once

#include "service_base.h"
#include "settings_saver.h"

class CTabletService : public CServiceBase {
  public:
    CTabletService(const char* serviceName, const char* displayName);

    void Run(DWORD argc, char** argv) override;
    void OnStop() override;

  private:
    // Steps shared by the service and the in-process run; false when the service cannot go on.
    bool StartLinks();
    void DeviceLoop();
    // Waits on `handles` and, meanwhile, writes the settings file whenever a save event is set. Returns
    // the index of the handle that ended the wait, or WAIT_TIMEOUT.
    DWORD WaitServingSaves(const HANDLE* handles, DWORD count, DWORD timeoutMs);
    // Once the stop event is set: waits for the tablet threads, then releases what they used.
    void Shutdown();

    pz::SettingsSaver m_saver;
    HANDLE m_readyEvent = nullptr;  // one handle from the first successful open until the end
};
