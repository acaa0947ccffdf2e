// Moving values between a dialog's controls and its members, in both directions.
#pragma once

#include <windows.h>

#include "CString.h"

class CDialog;
class CWnd;

struct CDataExchange {
    CDataExchange(CDialog* dialog, bool saveAndValidate) : dialog(dialog), saveAndValidate(saveAndValidate) {}

    // Marks the exchange failed, puts back the member the offending control's text went to, and
    // refuses the input.
    void Fail();

    CDialog* dialog;
    bool saveAndValidate;
    bool failed = false;
    HWND lastControl = nullptr;
    CString* lastText = nullptr;
    CString lastTextBefore;
};

void DDX_Control(CDataExchange* dx, int id, CWnd& control);
void DDX_Text(CDataExchange* dx, int id, CString& text);
void DDX_Check(CDataExchange* dx, int id, int& state);
// Limits the last exchanged edit field going in; checks the length coming back.
void DDV_MaxChars(CDataExchange* dx, const CString& text, int maxChars);
