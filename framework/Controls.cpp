#include "Controls.h"

#include "ModuleState.h"

void CButton::SetBitmap(int id, GdiObject& image) const {
    image.reset(LoadImageA(pluginInstance(), MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, 0));
    SendMessage(BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(image.get()));
}

void CWnd::GetWindowText(CString& text) const {
    const int length = ::GetWindowTextLengthA(m_hWnd);
    char* buffer = text.GetBuffer(length);
    if (!buffer) return;
    buffer[0] = 0;
    ::GetWindowTextA(m_hWnd, buffer, length + 1);
    text.ReleaseBuffer();
}

void CComboBox::GetLBText(int index, CString& text) const {
    const int length = static_cast<int>(SendMessage(CB_GETLBTEXTLEN, index));
    if (length == CB_ERR) {
        text.Empty();
        return;
    }
    char* buffer = text.GetBuffer(length);
    if (!buffer) return;
    buffer[0] = 0;
    SendMessage(CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(buffer));
    text.ReleaseBuffer();
}
