#include "Dialog.h"

#include "ModuleState.h"

namespace {
// The innermost dialog of this library in its modal loop; the plug-ins run on one thread.
CDialog* running = nullptr;

// Marks a dialog of this framework's, in whichever library, and each window that a dialog disabled
// with that dialog, so that it alone enables them again.
const char kDialogMark[] = "ZorvDialog";
const char kDisabledBy[] = "ZorvDisabledBy";

struct Disabling {
    HWND owner;  // disabled and enabled again by the dialog manager
    const CDialog* by;
};

BOOL CALLBACK disableWindow(HWND window, LPARAM parameter) {
    const auto* disabling = reinterpret_cast<const Disabling*>(parameter);
    if (window != disabling->owner && IsWindowVisible(window) && IsWindowEnabled(window) &&
        SetPropA(window, kDisabledBy, const_cast<CDialog*>(disabling->by)))
        EnableWindow(window, FALSE);
    return TRUE;
}

BOOL CALLBACK enableWindow(HWND window, LPARAM by) {
    if (GetPropA(window, kDisabledBy) == reinterpret_cast<HANDLE>(by)) {
        RemovePropA(window, kDisabledBy);
        EnableWindow(window, TRUE);
    }
    return TRUE;
}

BOOL CALLBACK findRunning(HWND window, LPARAM found) {
    if (!GetPropA(window, kDialogMark) || !IsWindowEnabled(window)) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}
}  // namespace

HWND runningDialog() {
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), findRunning, reinterpret_cast<LPARAM>(&found));
    return found;
}

INT_PTR CDialog::DoModal() {
    // A dialog is owned, and its owner disabled while it runs, by the dialog it was opened from
    // (shown yet or not), else by the main window's last active popup. Not the active window: with
    // another program in front there is none, and the host could be used under the dialog.
    HWND owner = nullptr;
    if (running && running->m_hWnd)
        owner = running->m_hWnd;
    else if (HWND main = mainWindow())
        owner = GetLastActivePopup(main);
    // The dialog manager disables the owner alone; a host may have other windows, a palette's owner
    // or a second main window, that must not be used under the dialog either.
    CDialog* outer = running;
    const Disabling disabling = {owner, this};
    if (!outer) EnumThreadWindows(GetCurrentThreadId(), disableWindow, reinterpret_cast<LPARAM>(&disabling));
    const bool ownerEnabled = owner && IsWindowEnabled(owner);
    running = this;
    ended_ = false;
    INT_PTR result = DialogBoxParamA(resourceInstance(), MAKEINTRESOURCEA(templateId_), owner, dialogProc,
                                     reinterpret_cast<LPARAM>(this));
    running = outer;
    // A quit message ends the loop too, and is left for the host's: no choice, and the dialog
    // manager enables no owner on that way out.
    if (!ended_) {
        if (ownerEnabled) EnableWindow(owner, TRUE);
        result = -1;
    }
    if (!outer) EnumThreadWindows(GetCurrentThreadId(), enableWindow, reinterpret_cast<LPARAM>(this));
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
        SetPropA(window, kDialogMark, window);
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
            RemovePropA(window, kDialogMark);
            SetWindowLongPtrA(window, DWLP_USER, 0);
            dialog->m_hWnd = nullptr;
            return FALSE;
        default:
            if (!dialog->OnMessage(message, wParam, lParam, result)) return FALSE;
            SetWindowLongPtrA(window, DWLP_MSGRESULT, result);
            return TRUE;
    }
}
