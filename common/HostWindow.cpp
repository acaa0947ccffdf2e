#include "HostWindow.h"

namespace {
HWND hostWindow = nullptr;

BOOL CALLBACK takeFirstOfProcess(HWND window, LPARAM processId) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != static_cast<DWORD>(processId)) return TRUE;
    hostWindow = window;
    return FALSE;
}
}  // namespace

HWND findHostWindow() {
    // A host that recreated its window would otherwise never get its quit box again.
    if (hostWindow && !IsWindow(hostWindow)) hostWindow = nullptr;
    if (hostWindow) return hostWindow;
    EnumWindows(takeFirstOfProcess, static_cast<LPARAM>(GetCurrentProcessId()));
    return hostWindow;
}

bool confirmQuit(const char* text, const char* caption) {
    return MessageBoxA(findHostWindow(), text, caption, MB_YESNO | MB_TOPMOST) == IDYES;
}
