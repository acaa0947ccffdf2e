#include "CenterOnDesktop.h"

void centerOnDesktop(HWND window) {
    RECT desktop = {};
    RECT own = {};
    GetWindowRect(GetDesktopWindow(), &desktop);
    GetWindowRect(window, &own);
    const int width = own.right - own.left;
    const int height = own.bottom - own.top;
    // Each halving truncates on its own, and the desktop's origin is not added: with odd
    // sizes the window sits a pixel right of and below the exact middle.
    const int x = (desktop.right - desktop.left) / 2 - width / 2;
    const int y = (desktop.bottom - desktop.top) / 2 - height / 2;
    SetWindowPos(window, nullptr, x, y, width, height, SWP_NOZORDER);
}
