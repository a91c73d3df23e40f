// The tablet service: its run (start order and device loop) and its stop request.
#pragma once

#include "service_base.h"

class CTabletService : public CServiceBase {
  public:
    CTabletService(const char* serviceName, const char* displayName);

    void Run(DWORD argc, char** argv) override;
    void OnStop() override;

  private:
    // Steps shared by the service and the in-process run; false when the service cannot go on.
    bool StartLinks();
    void DeviceLoop();
    // Once the stop event is set: waits for the tablet threads, then releases what they used.
    void Shutdown();

    HANDLE m_readyEvent = nullptr;  // one handle from the first successful open until the end
};
