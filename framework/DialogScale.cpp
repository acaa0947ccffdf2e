#include "DialogScale.h"

namespace {
// Where a picture's own bitmap and its copy are kept while the copy shows, so that a dialog has as
// many pictures as it likes.
const char kOwnImage[] = "ZorvOwnImage";
const char kScaledImage[] = "ZorvScaledImage";

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

bool fontOf(HWND window, LOGFONTA& description) {
    return GetObjectA(reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0)), sizeof description,
                      &description) == sizeof description;
}

bool workAreaOf(HWND window, RECT& work) {
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoA(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor)) return false;
    work = monitor.rcWork;
    return true;
}

// The start of a span of this size within low..high, as near to start as it can be.
int within(int start, int size, LONG low, LONG high) {
    if (start > high - size) start = high - size;
    return start < low ? low : start;
}
}  // namespace

void DialogScale::measure(HWND dialog) {
    x_ = y_ = Ratio();
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    LOGFONTA description;
    RECT now = {0, 0, 4, 8};
    if (dpi > 0 && dpi != 96 && fontOf(dialog, description) && MapDialogRect(dialog, &now)) {
        // The template names its font in whole points, which the dialog manager turned into pixels at
        // this dpi, rounded: the points come back exactly, and give the font's height at 96 dpi.
        const int points = MulDiv(description.lfHeight < 0 ? -description.lfHeight : description.lfHeight, 72, dpi);
        description.lfHeight = -MulDiv(points, 96, 72);
        GdiObject at96(CreateFontIndirectA(&description));
        const SIZE base = at96 ? baseUnits(screen, static_cast<HFONT>(at96.get())) : SIZE{};
        if (base.cx > 0 && base.cy > 0) {
            x_ = {now.right, base.cx};
            y_ = {now.bottom, base.cy};
        }
    }
    ReleaseDC(nullptr, screen);
}

void DialogScale::fitWorkArea(HWND dialog) {
    RECT frame, client, work;
    if (!GetWindowRect(dialog, &frame) || !GetClientRect(dialog, &client) || client.right <= 0 || client.bottom <= 0 ||
        !workAreaOf(dialog, work))
        return;
    // The caption and the borders keep their size; the client area gives up what does not fit.
    const int borderX = frame.right - frame.left - client.right, borderY = frame.bottom - frame.top - client.bottom;
    const int roomX = work.right - work.left - borderX, roomY = work.bottom - work.top - borderY;
    Ratio fit;
    if (roomX < client.right) fit = {roomX, client.right};
    if (roomY * fit.den < fit.num * client.bottom) fit = {roomY, client.bottom};
    if (fit.none() || fit.num <= 0) return;

    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT place;
        GetWindowRect(child, &place);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&place), 2);
        MoveWindow(child, fit(place.left), fit(place.top), fit(place.right - place.left), fit(place.bottom - place.top),
                   FALSE);
        fitFont(child, fit);
    }
    fitFont(dialog, fit);
    // About its middle, as a dialog that centred itself stays centred.
    const int width = borderX + fit(client.right), height = borderY + fit(client.bottom);
    SetWindowPos(dialog, nullptr, (frame.left + frame.right - width) / 2, (frame.top + frame.bottom - height) / 2,
                 width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    x_ = {x_.num * fit.num, x_.den * fit.den};
    y_ = {y_.num * fit.num, y_.den * fit.den};
}

void DialogScale::fitFont(HWND window, Ratio fit) {
    const auto font = reinterpret_cast<HGDIOBJ>(SendMessageA(window, WM_GETFONT, 0, 0));
    for (Fitted& fitted : fitted_) {
        if (fitted.font && fitted.from != font) continue;
        LOGFONTA description;
        if (!fitted.font && fontOf(window, description)) {
            description.lfHeight = fit(description.lfHeight);
            fitted.font.reset(CreateFontIndirectA(&description));
            fitted.from = font;
        }
        if (fitted.font) SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(fitted.font.get()), FALSE);
        return;
    }
}

void DialogScale::apply(HWND dialog) {
    fitWorkArea(dialog);
    RECT frame, work;
    if (GetWindowRect(dialog, &frame) && workAreaOf(dialog, work)) {
        const int x = within(frame.left, frame.right - frame.left, work.left, work.right);
        const int y = within(frame.top, frame.bottom - frame.top, work.top, work.bottom);
        if (x != frame.left || y != frame.top)
            SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (x_.none() && y_.none()) return;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        UINT setMessage = 0;
        HANDLE image = imageOf(child, setMessage);
        BITMAP bitmap;
        if (!image || GetObjectA(image, sizeof bitmap, &bitmap) != sizeof bitmap) continue;
        HANDLE scaled = CopyImage(image, IMAGE_BITMAP, x_(bitmap.bmWidth), y_(bitmap.bmHeight), 0);
        if (!scaled) continue;
        if (!SetPropA(child, kOwnImage, image) || !SetPropA(child, kScaledImage, scaled)) {
            RemovePropA(child, kOwnImage);
            DeleteObject(scaled);
            continue;
        }
        SendMessageA(child, setMessage, IMAGE_BITMAP, reinterpret_cast<LPARAM>(scaled));
    }
}

void DialogScale::restore(HWND dialog) {
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        HANDLE own = RemovePropA(child, kOwnImage);
        GdiObject scaled(RemovePropA(child, kScaledImage));
        UINT setMessage = 0;
        if (own && scaled && imageOf(child, setMessage))
            SendMessageA(child, setMessage, IMAGE_BITMAP, reinterpret_cast<LPARAM>(own));
    }
}
