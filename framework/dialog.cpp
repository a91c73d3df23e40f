#include "dialog.h"

#include "win_app.h"

CDialog::CDialog(UINT templateId, HWND parent) : templateId_(templateId), parent_(parent) {}

CDialog::~CDialog() {
    if (m_hWnd != nullptr) DestroyWindow(m_hWnd);
}

INT_PTR CDialog::DoModal() {
    HINSTANCE instance = AfxGetApp() != nullptr ? AfxGetApp()->m_hInstance : GetModuleHandleA(nullptr);
    ended_ = false;
    result_ = -1;
    if (CreateDialogParamA(instance, MAKEINTRESOURCEA(templateId_), parent_, DialogProc,
                           reinterpret_cast<LPARAM>(this)) == nullptr)
        return -1;
    if (parent_ != nullptr) EnableWindow(parent_, FALSE);
    ShowWindow(m_hWnd, SW_SHOWNORMAL);

    MSG msg;
    while (!ended_) {
        if (GetMessageA(&msg, nullptr, 0, 0) <= 0) {
            OnQuitMessage();
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (!IsDialogMessageA(m_hWnd, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    if (parent_ != nullptr) EnableWindow(parent_, TRUE);
    DestroyWindow(m_hWnd);
    m_hWnd = nullptr;
    return result_;
}

void CDialog::EndDialog(INT_PTR result) {
    result_ = result;
    ended_ = true;
}

BOOL CDialog::OnInitDialog() {
    return TRUE;
}

void CDialog::OnPaint() {
    PAINTSTRUCT paint;
    BeginPaint(m_hWnd, &paint);
    EndPaint(m_hWnd, &paint);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

bool CDialog::OnMessage(UINT, WPARAM, LPARAM, INT_PTR&) {
    return false;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* dialog = reinterpret_cast<CDialog*>(lParam);
        SetWindowLongPtrA(window, DWLP_USER, lParam);
        dialog->m_hWnd = window;
        return dialog->OnInitDialog();
    }
    auto* dialog = reinterpret_cast<CDialog*>(GetWindowLongPtrA(window, DWLP_USER));
    if (dialog == nullptr) return FALSE;
    switch (message) {
        case WM_PAINT:
            dialog->OnPaint();
            return TRUE;
        case WM_CLOSE:
            dialog->OnCancel();
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDCANCEL) {
                dialog->OnCancel();
                return TRUE;
            }
            break;
        default:
            break;
    }
    INT_PTR result = 0;
    if (dialog->OnMessage(message, wParam, lParam, result)) {
        SetWindowLongPtrA(window, DWLP_MSGRESULT, result);
        return TRUE;
    }
    return FALSE;
}
