// A modal dialog built from a dialog template resource, with its own modal loop so that a derived class
// sees a WM_QUIT that ends the loop.
#pragma once

#include <windows.h>

class CDialog {
  public:
    explicit CDialog(UINT templateId, HWND parent = nullptr);
    virtual ~CDialog();
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    // Creates the dialog, shows it and runs until EndDialog or WM_QUIT (which is posted again for the
    // outer loop). Returns the EndDialog result, or -1 when the dialog could not be created or on WM_QUIT.
    INT_PTR DoModal();
    void EndDialog(INT_PTR result);
    HWND GetSafeHwnd() const { return m_hWnd; }

  protected:
    virtual BOOL OnInitDialog();
    virtual void OnPaint();
    // A close request; the default ends the dialog.
    virtual void OnCancel();
    // The modal loop has taken WM_QUIT from the queue.
    virtual void OnQuitMessage() {}
    // Any other message; return true when handled.
    virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result);

    HWND m_hWnd = nullptr;

  private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    UINT templateId_;
    HWND parent_;
    bool ended_ = false;
    INT_PTR result_ = -1;
};
