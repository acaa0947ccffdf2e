#include "HostWindow.h"

#include "Dialog.h"

namespace {
HWND hostWindow = nullptr;
bool hostWindowShown = false;  // chosen as a visible window without an owner

bool ofThisProcess(HWND window, DWORD processId) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    return owner == processId;
}

struct Search {
    DWORD processId;
    HWND first;
};

BOOL CALLBACK takeHostWindow(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<Search*>(parameter);
    if (!ofThisProcess(window, search->processId)) return TRUE;
    if (!search->first) search->first = window;
    if (!shownAndUnowned(window)) return TRUE;
    hostWindow = window;
    hostWindowShown = true;
    return FALSE;
}
}  // namespace

HWND findHostWindow() {
    // Kept while it still meets the rule it was chosen by. The host may have destroyed its window,
    // and the handle may since name a window of another process; a gone window belongs to none.
    // A window taken for want of a shown one is a guess, made perhaps before the host showed its
    // own: it is looked for again at every call.
    const DWORD processId = GetCurrentProcessId();
    if (hostWindow && (!hostWindowShown || !ofThisProcess(hostWindow, processId) || !shownAndUnowned(hostWindow)))
        hostWindow = nullptr;
    if (hostWindow) return hostWindow;
    Search search = {processId, nullptr};
    EnumWindows(takeHostWindow, reinterpret_cast<LPARAM>(&search));
    if (!hostWindow) {
        hostWindow = search.first;
        hostWindowShown = false;
    }
    return hostWindow;
}

bool confirmQuit(const char* text, const char* caption) {
    // A host's hot key or timer may ask while a dialog of ours runs, or while a box of ours is up
    // over it. The box then sits on the innermost dialog, so that it is modal over it as well.
    HWND owner = findHostWindow();
    if (HWND dialog = runningDialog()) owner = dialog;
    const ModalOwner modal(owner);
    const int answer = MessageBoxA(owner, text, caption, MB_YESNO | MB_TOPMOST);
    // A quit message ends the box as it ends a dialog, and stays for the host's loop: no answer.
    MSG quit;
    return answer == IDYES && !PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE);
}
