#include "DataExchange.h"

#include "Dialog.h"

void CDataExchange::Fail() {
    failed = true;
    if (lastText) *lastText = lastTextBefore;
    dialog->RefuseInput(lastControl);
}

namespace {
// The control for the next exchange, or null when an earlier step failed.
HWND prepare(CDataExchange* dx, int id) {
    if (dx->failed) return nullptr;
    dx->lastControl = dx->dialog->GetDlgItem(id).m_hWnd;
    dx->lastText = nullptr;
    return dx->lastControl;
}
}  // namespace

void DDX_Control(CDataExchange* dx, int id, CWnd& control) {
    HWND window = prepare(dx, id);
    if (!control.m_hWnd) control.m_hWnd = window;
}

void DDX_Text(CDataExchange* dx, int id, CString& text) {
    if (!prepare(dx, id)) return;
    if (!dx->saveAndValidate) return dx->dialog->SetItemText(id, text);
    dx->lastText = &text;
    dx->lastTextBefore = text;
    dx->dialog->GetItemText(id, text);
}

void DDX_Check(CDataExchange* dx, int id, int& state) {
    if (!prepare(dx, id)) return;
    if (dx->saveAndValidate)
        state = dx->dialog->IsItemChecked(id);
    else
        dx->dialog->CheckItem(id, state);
}

void DDV_MaxChars(CDataExchange* dx, const CString& text, int maxChars) {
    if (dx->failed || !dx->lastControl) return;
    if (!dx->saveAndValidate)
        SendMessageA(dx->lastControl, EM_LIMITTEXT, maxChars, 0);
    else if (text.GetLength() > maxChars)
        dx->Fail();
}
