// Modal dialogs built from a template of the current resource module.
#pragma once

#include <windows.h>

#include "Controls.h"
#include "DataExchange.h"
#include "DialogScale.h"
#include "Handles.h"

class CDialog;

// One row of a command table: a notification from a control, and the member that handles it.
struct MessageMapEntry {
    UINT id;
    UINT code;
    void (CDialog::*handler)();
};

template <typename Dialog>
constexpr MessageMapEntry onNotify(UINT id, UINT code, void (Dialog::*handler)()) {
    return {id, code, static_cast<void (CDialog::*)()>(handler)};
}
template <typename Dialog>
constexpr MessageMapEntry onClicked(UINT id, void (Dialog::*handler)()) {
    return onNotify(id, BN_CLICKED, handler);
}

class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId) : templateId_(templateId) {}
    virtual ~CDialog() = default;
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    // Runs the dialog; returns the value given to EndDialog, or -1 when it cannot be created or a
    // quit message ended its loop: the player chose nothing.
    INT_PTR DoModal();
    void EndDialog(INT_PTR result) {
        ended_ = true;
        ::EndDialog(m_hWnd, result);
    }
    // true: controls to members (and validation); false: members to controls.
    bool UpdateData(bool saveAndValidate = true);

    CWnd GetDlgItem(int id) const;
    void SetItemText(int id, const char* text) const { GetDlgItem(id).SetWindowText(text); }
    void GetItemText(int id, CString& text) const { GetDlgItem(id).GetWindowText(text); }
    void CheckItem(int id, int state) const { SendItemMessage(id, BM_SETCHECK, state); }
    int IsItemChecked(int id) const { return static_cast<int>(SendItemMessage(id, BM_GETCHECK)); }
    LRESULT SendItemMessage(int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return GetDlgItem(id).SendMessage(message, wParam, lParam);
    }
    // The item in the dialog's font made bold; the font lives as long as this object.
    void SetItemBold(int id);
    // Turns down what the player entered: a beep, and the focus back on the item.
    void RefuseInput(HWND item) const;

protected:
    // The dialog's command table, given by its constructor: a static table, or a member of the
    // dialog, as long as the rows live while the dialog runs.
    template <size_t N>
    void SetCommands(const MessageMapEntry (&rows)[N]) {
        commands_ = rows;
        commandCount_ = N;
    }
    virtual void DoDataExchange(CDataExchange*) {}
    // Fills the controls; true lets the dialog manager focus the first tab stop.
    virtual BOOL OnInitDialog();
    // What OK and Cancel do unless the command table binds them.
    virtual void OnOK();
    virtual void OnCancel();
    // Any message the command table does not take; true when handled, with the dialog
    // manager's result in result.
    virtual bool OnMessage(UINT, WPARAM, LPARAM, INT_PTR& /*result*/) { return false; }

private:
    static INT_PTR CALLBACK dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    const MessageMapEntry* commands_ = nullptr;
    size_t commandCount_ = 0;
    bool onCommand(UINT id, UINT code);

    UINT templateId_;
    GdiObject boldFont_;  // outlives the window that shows it
    DialogScale scale_;
    bool ended_ = false;  // by EndDialog, not by a quit message
};

// The innermost dialog running on this thread, of this library or of another built on this
// framework; null when none runs.
HWND runningDialog();

// A shown window without an owner: a main window, not the hidden one that Windows gives a thread.
bool shownAndUnowned(HWND window);

// The window a modal loop runs over, left after it as enabled or disabled as it was before: the
// dialog manager and a message box enable their owner on every way out but a quit message, Wine's
// even one they found disabled, under a box of ours.
class ModalOwner {
public:
    explicit ModalOwner(HWND window) : window_(window), enabled_(window && IsWindowEnabled(window)) {}
    ~ModalOwner() {
        if (window_) EnableWindow(window_, enabled_);
    }
    ModalOwner(const ModalOwner&) = delete;
    ModalOwner& operator=(const ModalOwner&) = delete;
    HWND window() const { return window_; }

private:
    HWND window_;
    bool enabled_;
};
