#include "Dialog.h"

namespace {
// The base units the dialog manager takes from a font: the letters' average width, rounded,
// and the height.
SIZE baseUnits(HDC dc, HFONT font) {
    static const char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICA metrics = {};
    SIZE letters = {};
    GetTextMetricsA(dc, &metrics);
    GetTextExtentPoint32A(dc, kLetters, sizeof kLetters - 1, &letters);
    SelectObject(dc, old);
    return {(letters.cx / 26 + 1) / 2, metrics.tmHeight};
}

// The bitmap a picture control or a picture button shows, and the message that sets another.
HANDLE imageOf(HWND control, UINT& setMessage) {
    char kind[8] = {};
    GetClassNameA(control, kind, sizeof kind);
    const LONG style = GetWindowLongA(control, GWL_STYLE);
    if (lstrcmpiA(kind, "Static") == 0 && (style & SS_TYPEMASK) == SS_BITMAP) {
        setMessage = STM_SETIMAGE;
        return reinterpret_cast<HANDLE>(SendMessageA(control, STM_GETIMAGE, IMAGE_BITMAP, 0));
    }
    if (lstrcmpiA(kind, "Button") == 0 && (style & BS_BITMAP)) {
        setMessage = BM_SETIMAGE;
        return reinterpret_cast<HANDLE>(SendMessageA(control, BM_GETIMAGE, IMAGE_BITMAP, 0));
    }
    return nullptr;
}
}  // namespace

void CDialog::measureScale() {
    scaleX_ = scaleY_ = Scale();
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    LOGFONTA description;
    RECT now = {0, 0, 4, 8};
    if (dpi > 0 && dpi != 96 &&
        GetObjectA(reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)), sizeof description, &description) ==
            sizeof description &&
        MapDialogRect(m_hWnd, &now)) {
        description.lfHeight = MulDiv(description.lfHeight, 96, dpi);
        GdiObject at96(CreateFontIndirectA(&description));
        const SIZE base = at96 ? baseUnits(screen, static_cast<HFONT>(at96.get())) : SIZE{};
        if (base.cx > 0 && base.cy > 0) {
            scaleX_ = {now.right, base.cx};
            scaleY_ = {now.bottom, base.cy};
        }
    }
    ReleaseDC(nullptr, screen);
}

void CDialog::fitWorkArea() {
    RECT frame, client;
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    if (!GetWindowRect(m_hWnd, &frame) || !GetClientRect(m_hWnd, &client) || client.right <= 0 || client.bottom <= 0 ||
        !GetMonitorInfoA(MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTONEAREST), &monitor))
        return;
    // The caption and the borders keep their size; the client area gives up what does not fit.
    const RECT& work = monitor.rcWork;
    const int borderX = frame.right - frame.left - client.right, borderY = frame.bottom - frame.top - client.bottom;
    const int roomX = work.right - work.left - borderX, roomY = work.bottom - work.top - borderY;
    Scale fit;
    if (roomX < client.right) fit = {roomX, client.right};
    if (roomY * fit.den < fit.num * client.bottom) fit = {roomY, client.bottom};
    if (fit.none() || fit.num <= 0) return;

    LOGFONTA description;
    if (GetObjectA(reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)), sizeof description, &description) ==
        sizeof description) {
        description.lfHeight = fit(description.lfHeight);
        fitFont_.reset(CreateFontIndirectA(&description));
    }
    if (fitFont_) SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(fitFont_.get()), FALSE);
    for (HWND child = GetWindow(m_hWnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT place;
        GetWindowRect(child, &place);
        MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&place), 2);
        MoveWindow(child, fit(place.left), fit(place.top), fit(place.right - place.left), fit(place.bottom - place.top),
                   FALSE);
        if (fitFont_) ::SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(fitFont_.get()), FALSE);
    }
    const int width = borderX + fit(client.right), height = borderY + fit(client.bottom);
    const int x = frame.left + width > work.right ? work.right - width : frame.left;
    const int y = frame.top + height > work.bottom ? work.bottom - height : frame.top;
    SetWindowPos(m_hWnd, nullptr, x < work.left ? work.left : x, y < work.top ? work.top : y, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    scaleX_ = {scaleX_.num * fit.num, scaleX_.den * fit.den};
    scaleY_ = {scaleY_.num * fit.num, scaleY_.den * fit.den};
}

void CDialog::scalePictures() {
    if (scaleX_.none() && scaleY_.none()) return;
    Picture* next = pictures_;
    const Picture* const end = pictures_ + sizeof pictures_ / sizeof *pictures_;
    for (HWND child = GetWindow(m_hWnd, GW_CHILD); child && next != end; child = GetWindow(child, GW_HWNDNEXT)) {
        UINT setMessage = 0;
        HANDLE image = imageOf(child, setMessage);
        BITMAP bitmap;
        if (!image || GetObjectA(image, sizeof bitmap, &bitmap) != sizeof bitmap) continue;
        next->scaled.reset(CopyImage(image, IMAGE_BITMAP, scaleX_(bitmap.bmWidth), scaleY_(bitmap.bmHeight), 0));
        if (!next->scaled) continue;
        next->control = child;
        next->setImage = setMessage;
        next->original = image;
        ::SendMessageA(child, setMessage, IMAGE_BITMAP, reinterpret_cast<LPARAM>(next->scaled.get()));
        ++next;
    }
}

void CDialog::restorePictures() {
    for (Picture& picture : pictures_) {
        if (picture.control)
            ::SendMessageA(picture.control, picture.setImage, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture.original));
        picture.control = nullptr;
    }
}
