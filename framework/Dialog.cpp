#include "Dialog.h"

#include "ModuleState.h"

namespace {
// The innermost dialog in its modal loop; the plug-ins run on one thread.
CDialog* running = nullptr;
}  // namespace

INT_PTR CDialog::DoModal() {
    // A dialog is owned, and its owner disabled while it runs, by the dialog it was opened from
    // (shown yet or not), else by the main window's last active popup. Not the active window: with
    // another program in front there is none, and the host could be used under the dialog.
    HWND owner = nullptr;
    if (running && running->m_hWnd)
        owner = running->m_hWnd;
    else if (HWND main = mainWindow())
        owner = GetLastActivePopup(main);
    // The dialog manager disables the owner alone. Owned by a palette of the host's, the dialog
    // would leave the host's own window enabled under it: that is disabled too while it runs.
    HWND top = owner ? GetAncestor(owner, GA_ROOTOWNER) : nullptr;
    const bool disableTop = top && top != owner && IsWindowEnabled(top);
    if (disableTop) EnableWindow(top, FALSE);
    CDialog* outer = running;
    running = this;
    const INT_PTR result = DialogBoxParamA(resourceInstance(), MAKEINTRESOURCEA(templateId_), owner, dialogProc,
                                           reinterpret_cast<LPARAM>(this));
    running = outer;
    if (disableTop) EnableWindow(top, TRUE);
    return result;
}

bool CDialog::UpdateData(bool saveAndValidate) {
    CDataExchange dx(this, saveAndValidate);
    DoDataExchange(&dx);
    return !dx.failed;
}

CWnd CDialog::GetDlgItem(int id) const {
    CWnd item;
    item.m_hWnd = ::GetDlgItem(m_hWnd, id);
    return item;
}

void CDialog::SetItemBold(int id) {
    const CWnd item = GetDlgItem(id);
    if (!boldFont_) {
        auto font = reinterpret_cast<HFONT>(item.SendMessage(WM_GETFONT));
        LOGFONTA description;
        if (!font || GetObjectA(font, sizeof description, &description) != sizeof description) return;
        description.lfWeight = FW_BOLD;
        boldFont_.reset(CreateFontIndirectA(&description));
    }
    if (boldFont_) item.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(boldFont_.get()), TRUE);
}

void CDialog::RefuseInput(HWND item) const {
    if (item) SetFocus(item);
    MessageBeep(MB_OK);
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
    for (const MessageMapEntry* entry = commands_; entry != commands_ + commandCount_; ++entry) {
        if (entry->id == id && entry->code == code) {
            (this->*entry->handler)();
            return true;
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
        dialog->scale_.measure(window);
        const BOOL focus = dialog->OnInitDialog();
        dialog->scale_.apply(window);
        return focus;
    }
    auto* dialog = reinterpret_cast<CDialog*>(GetWindowLongPtrA(window, DWLP_USER));
    if (!dialog) return FALSE;  // before WM_INITDIALOG, or after the object let go
    INT_PTR result = 0;
    switch (message) {
        case WM_COMMAND:
            return dialog->onCommand(LOWORD(wParam), HIWORD(wParam));
        case WM_DESTROY:
            DialogScale::restore(window);
            return FALSE;
        case WM_NCDESTROY:
            SetWindowLongPtrA(window, DWLP_USER, 0);
            dialog->m_hWnd = nullptr;
            return FALSE;
        default:
            if (!dialog->OnMessage(message, wParam, lParam, result)) return FALSE;
            SetWindowLongPtrA(window, DWLP_MSGRESULT, result);
            return TRUE;
    }
}
