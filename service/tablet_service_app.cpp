// KTPEN's application object: reads the command line and, where there is no service control manager,
// keeps the process alive behind a hidden dialog.
#include <stdlib.h>

#include "hidden_dialog.h"
#include "object_names.h"
#include "tablet_service.h"
#include "win_app.h"

class CTabletServiceApp : public CWinApp {
  public:
    CTabletServiceApp() : m_service(pz::kServiceName, pz::kServiceName) {}

    BOOL InitInstance() override {
        m_service.ParseCommandLine(__argc, __argv);
        if (!m_service.IsNt()) {
            CHiddenDialog dialog(m_service);
            m_hMainWnd = nullptr;
            dialog.DoModal();
        } else if (m_service.InProcess() && m_service.InProcessThread() != nullptr) {
            // -d and -f: the work thread runs until the service stops.
            WaitForSingleObject(m_service.InProcessThread(), INFINITE);
        }
        return FALSE;
    }

  private:
    CTabletService m_service;
};

CTabletServiceApp theApp;
