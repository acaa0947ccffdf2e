#include "DataExchange.h"

#include "Dialog.h"

void CDataExchange::Fail() {
    failed = true;
    if (lastControl) SetFocus(lastControl);
    MessageBeep(MB_OK);
}

namespace {
// The control for the next exchange, or null when an earlier step failed.
HWND prepare(CDataExchange* dx, int id) {
    if (dx->failed) return nullptr;
    dx->lastControl = dx->dialog->GetDlgItem(id);
    return dx->lastControl;
}
}  // namespace

void DDX_Control(CDataExchange* dx, int id, CWnd& control) {
    HWND window = prepare(dx, id);
    if (!control.m_hWnd) control.m_hWnd = window;
}

void DDX_Text(CDataExchange* dx, int id, CString& text) {
    CWnd control;
    control.m_hWnd = prepare(dx, id);
    if (!control.m_hWnd) return;
    if (dx->saveAndValidate)
        control.GetWindowText(text);
    else
        control.SetWindowText(text);
}

void DDX_Check(CDataExchange* dx, int id, int& state) {
    CButton control;
    control.m_hWnd = prepare(dx, id);
    if (!control.m_hWnd) return;
    if (dx->saveAndValidate)
        state = control.GetCheck();
    else
        control.SetCheck(state);
}

void DDV_MaxChars(CDataExchange* dx, const CString& text, int maxChars) {
    if (dx->failed || !dx->lastControl) return;
    if (!dx->saveAndValidate)
        SendMessageA(dx->lastControl, EM_LIMITTEXT, maxChars, 0);
    else if (text.GetLength() > maxChars)
        dx->Fail();
}
