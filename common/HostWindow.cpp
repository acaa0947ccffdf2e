#include "HostWindow.h"

namespace {
HWND hostWindow = nullptr;

bool ofThisProcess(HWND window, DWORD processId) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    return owner == processId;
}

BOOL CALLBACK takeFirstOfProcess(HWND window, LPARAM processId) {
    if (!ofThisProcess(window, static_cast<DWORD>(processId))) return TRUE;
    hostWindow = window;
    return FALSE;
}
}  // namespace

HWND findHostWindow() {
    // The host may have destroyed its window, and the handle may since name a window of another
    // process; a gone window belongs to none.
    const DWORD processId = GetCurrentProcessId();
    if (hostWindow && !ofThisProcess(hostWindow, processId)) hostWindow = nullptr;
    if (hostWindow) return hostWindow;
    EnumWindows(takeFirstOfProcess, static_cast<LPARAM>(processId));
    return hostWindow;
}

bool confirmQuit(const char* text, const char* caption) {
    return MessageBoxA(findHostWindow(), text, caption, MB_YESNO | MB_TOPMOST) == IDYES;
}
