#include "hidden_dialog.h"

#include "resource.h"
#include "service_base.h"

CHiddenDialog::CHiddenDialog(CServiceBase& service) : CDialog(IDD_HIDDEN_DIALOG), m_service(service) {}

BOOL CHiddenDialog::OnInitDialog() {
    ShowWindow(m_hWnd, SW_HIDE);
    UpdateWindow(m_hWnd);
    return TRUE;
}

void CHiddenDialog::OnPaint() {
    ShowWindow(m_hWnd, SW_HIDE);
    CDialog::OnPaint();
}

void CHiddenDialog::OnQuitMessage() {
    m_service.OnStop();
}
