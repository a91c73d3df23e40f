// The application object: one per program, built during static construction. The program's entry
// point runs its InitInstance and, when that returns true, a message loop.
#pragma once

#include <windows.h>

class CWinApp {
  public:
    CWinApp();
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // Returns false to end the program without a message loop.
    virtual BOOL InitInstance();
    // The message loop; returns the exit code of WM_QUIT.
    virtual int Run();
    virtual int ExitInstance(int exitCode);

    HINSTANCE m_hInstance = nullptr;
    HWND m_hMainWnd = nullptr;
};

// The program's single application object.
CWinApp* AfxGetApp();
