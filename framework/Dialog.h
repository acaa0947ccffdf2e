// Modal dialogs built from a template of the current resource module.
#pragma once

#include <windows.h>

#include "Controls.h"
#include "DataExchange.h"

class CDialog;

// One row of a message map: a notification from a control, and the member that handles it.
struct MessageMapEntry {
    UINT id;
    UINT code;
    void (CDialog::*handler)();
};

template <typename Dialog>
constexpr MessageMapEntry onClicked(UINT id, void (Dialog::*handler)()) {
    return {id, BN_CLICKED, static_cast<void (CDialog::*)()>(handler)};
}

class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId) : templateId_(templateId) {}
    virtual ~CDialog() = default;
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    // Runs the dialog; returns the value given to EndDialog, or -1 when it cannot be created.
    INT_PTR DoModal();
    void EndDialog(INT_PTR result) const { ::EndDialog(m_hWnd, result); }
    // true: controls to members (and validation); false: members to controls.
    bool UpdateData(bool saveAndValidate = true);
    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }

protected:
    // The rows end with one whose handler is null.
    virtual const MessageMapEntry* GetMessageMap() const { return nullptr; }
    virtual void DoDataExchange(CDataExchange*) {}
    // Fills the controls; true lets the dialog manager focus the first tab stop.
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();

private:
    static INT_PTR CALLBACK dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    bool onCommand(UINT id, UINT code);

    UINT templateId_;
};
