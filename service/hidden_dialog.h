// The window that keeps the in-process service alive where there is no service control manager. It
// stays hidden; closing it ends the program, and a WM_QUIT stops the service first.
#pragma once

#include "dialog.h"

class CServiceBase;

class CHiddenDialog : public CDialog {
  public:
    explicit CHiddenDialog(CServiceBase& service);

  protected:
    BOOL OnInitDialog() override;
    void OnPaint() override;
    void OnQuitMessage() override;

  private:
    CServiceBase& m_service;
};
