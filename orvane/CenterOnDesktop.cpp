#include "CenterOnDesktop.h"

void centerOnDesktop(HWND window) {
    // The primary monitor, which on Windows is the desktop window. Under Wine the desktop window
    // spans every monitor, and its middle may be a seam between two, or off them all.
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    RECT own = {};
    GetWindowRect(window, &own);
    const int width = own.right - own.left;
    const int height = own.bottom - own.top;
    // Each halving truncates on its own, and the primary monitor's origin is the screen's: with odd
    // sizes the window sits a pixel right of and below the exact middle.
    const int x = screenWidth / 2 - width / 2;
    const int y = screenHeight / 2 - height / 2;
    SetWindowPos(window, nullptr, x, y, width, height, SWP_NOZORDER);
}
