#include "Dialog.h"

#include "ModuleState.h"

INT_PTR CDialog::DoModal() {
    // A dialog without a parent is owned by the thread's active window, which it disables
    // while it runs: the host's window, or the dialog it was opened from.
    HWND owner = GetActiveWindow();
    return DialogBoxParamA(resourceInstance(), MAKEINTRESOURCEA(templateId_), owner, dialogProc,
                           reinterpret_cast<LPARAM>(this));
}

bool CDialog::UpdateData(bool saveAndValidate) {
    CDataExchange dx(this, saveAndValidate);
    DoDataExchange(&dx);
    return !dx.failed;
}

BOOL CDialog::OnInitDialog() {
    UpdateData(false);
    return TRUE;
}

void CDialog::OnOK() {
    if (UpdateData(true)) EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

bool CDialog::onCommand(UINT id, UINT code) {
    if (const MessageMapEntry* entry = GetMessageMap()) {
        for (; entry->handler; ++entry) {
            if (entry->id == id && entry->code == code) {
                (this->*entry->handler)();
                return true;
            }
        }
    }
    // Escape and the close box arrive as IDCANCEL with no control behind them.
    if (code != BN_CLICKED) return false;
    if (id == IDOK) {
        OnOK();
        return true;
    }
    if (id == IDCANCEL) {
        OnCancel();
        return true;
    }
    return false;
}

INT_PTR CALLBACK CDialog::dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* dialog = reinterpret_cast<CDialog*>(lParam);
        SetWindowLongPtrA(window, DWLP_USER, lParam);
        dialog->m_hWnd = window;
        return dialog->OnInitDialog();
    }
    auto* dialog = reinterpret_cast<CDialog*>(GetWindowLongPtrA(window, DWLP_USER));
    if (!dialog) return FALSE;  // before WM_INITDIALOG, or after the object let go
    switch (message) {
        case WM_COMMAND:
            return dialog->onCommand(LOWORD(wParam), HIWORD(wParam));
        case WM_NCDESTROY:
            SetWindowLongPtrA(window, DWLP_USER, 0);
            dialog->m_hWnd = nullptr;
            return FALSE;
        default:
            return FALSE;
    }
}
