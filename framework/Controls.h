// Thin wrappers over a window handle; they own nothing.
#pragma once

#include <windows.h>

#include "CString.h"
#include "Handles.h"

class CWnd {
public:
    HWND m_hWnd = nullptr;

    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::SendMessageA(m_hWnd, message, wParam, lParam);
    }
    void SetWindowText(const char* text) const { ::SetWindowTextA(m_hWnd, text); }
    void GetWindowText(CString& text) const;
};

class CButton : public CWnd {
public:
    // Shows the plug-in's bitmap of this id, loaded into image, which the caller deletes once the
    // window that shows it is gone.
    void SetBitmap(int id, GdiObject& image) const;
};

class CComboBox : public CWnd {
public:
    int AddString(const char* text) const { return item(CB_ADDSTRING, 0, text); }
    int InsertString(int index, const char* text) const { return item(CB_INSERTSTRING, index, text); }
    int FindStringExact(int start, const char* text) const { return item(CB_FINDSTRINGEXACT, start, text); }
    int GetCurSel() const { return static_cast<int>(SendMessage(CB_GETCURSEL)); }
    int SetCurSel(int index) const { return static_cast<int>(SendMessage(CB_SETCURSEL, index)); }
    void LimitText(int characters) const { SendMessage(CB_LIMITTEXT, characters); }
    // Leaves text empty when there is no such item.
    void GetLBText(int index, CString& text) const;

private:
    int item(UINT message, int index, const char* text) const {
        return static_cast<int>(SendMessage(message, index, reinterpret_cast<LPARAM>(text)));
    }
};
