#include "Dialog.h"

#include "ModuleState.h"
#include "PluginContract.h"

namespace {
// Nothing is kept of the dialogs running but the properties on their windows (kDialogProperty and
// kDisabledByProperty, which the other plug-in reads too): each thread's are found on its windows.

struct Disabling {
    HWND owner;  // disabled and enabled again by the dialog manager
    const CDialog* by;
};

BOOL CALLBACK disableWindow(HWND window, LPARAM parameter) {
    const auto* disabling = reinterpret_cast<const Disabling*>(parameter);
    if (window != disabling->owner && IsWindowVisible(window) && IsWindowEnabled(window) &&
        SetPropA(window, kDisabledByProperty, const_cast<CDialog*>(disabling->by)))
        EnableWindow(window, FALSE);
    return TRUE;
}

BOOL CALLBACK enableWindow(HWND window, LPARAM by) {
    if (GetPropA(window, kDisabledByProperty) == reinterpret_cast<HANDLE>(by)) {
        RemovePropA(window, kDisabledByProperty);
        EnableWindow(window, TRUE);
    }
    return TRUE;
}

struct Running {
    HWND dialog;
    UINT_PTR depth;
};

// The deepest, whether a box of ours disables it or not.
BOOL CALLBACK findDeepest(HWND window, LPARAM parameter) {
    auto* deepest = reinterpret_cast<Running*>(parameter);
    const auto depth = reinterpret_cast<UINT_PTR>(GetPropA(window, kDialogProperty));
    if (depth > deepest->depth) *deepest = {window, depth};
    return TRUE;
}

Running innermost() {
    Running deepest = {nullptr, 0};
    EnumThreadWindows(GetCurrentThreadId(), findDeepest, reinterpret_cast<LPARAM>(&deepest));
    return deepest;
}

bool ofThisThread(HWND window) { return window && GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId(); }

BOOL CALLBACK findShown(HWND window, LPARAM found) {
    if (!shownAndUnowned(window)) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

// The window that owns an outermost dialog: the main window, or this thread's own where the main
// window is another thread's; a thread with no window of its own takes the main window all the
// same. Its last active popup stands for it (a palette used last), but never the active window
// alone: with another program in front there is none, and the host could be used under the dialog.
HWND outermostOwner() {
    HWND main = mainWindow();
    HWND own = ofThisThread(main) ? main : GetActiveWindow();
    if (!ofThisThread(own)) {
        own = nullptr;
        EnumThreadWindows(GetCurrentThreadId(), findShown, reinterpret_cast<LPARAM>(&own));
    }
    if (!own) own = main;
    return own ? GetLastActivePopup(own) : nullptr;
}
}  // namespace

HWND runningDialog() { return innermost().dialog; }

bool shownAndUnowned(HWND window) { return IsWindowVisible(window) && !GetWindow(window, GW_OWNER); }

INT_PTR CDialog::DoModal() {
    // A dialog is owned, and its owner disabled while it runs, by the dialog of this thread it is
    // opened from (shown yet or not). The dialog manager disables the owner alone; the outermost
    // dialog of a thread disables the thread's other windows too (a palette's owner, a second main
    // window), and never another thread's.
    HWND outer = runningDialog();
    const ModalOwner owner(outer ? outer : outermostOwner());
    const Disabling disabling = {owner.window(), this};
    if (!outer) EnumThreadWindows(GetCurrentThreadId(), disableWindow, reinterpret_cast<LPARAM>(&disabling));
    ended_ = false;
    INT_PTR result = DialogBoxParamA(resourceInstance(), MAKEINTRESOURCEA(templateId_), owner.window(), dialogProc,
                                     reinterpret_cast<LPARAM>(this));
    // A quit message ends the loop too, and is left for the host's: no choice.
    if (!ended_) result = -1;
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
        SetPropA(window, kDialogProperty, reinterpret_cast<HANDLE>(innermost().depth + 1));
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
            RemovePropA(window, kDialogProperty);
            SetWindowLongPtrA(window, DWLP_USER, 0);
            dialog->m_hWnd = nullptr;
            return FALSE;
        default:
            if (!dialog->OnMessage(message, wParam, lParam, result)) return FALSE;
            SetWindowLongPtrA(window, DWLP_MSGRESULT, result);
            return TRUE;
    }
}
