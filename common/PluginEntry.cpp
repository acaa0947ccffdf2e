#include "PluginEntry.h"

#include "HostWindow.h"
#include "ModuleState.h"
#include "ScoreString.h"

namespace {
// The host's window stands for the library's main window, so it owns the library's dialogs.
CPluginApp theApp(findHostWindow);
}  // namespace

// Linked from an object of its own, never taken from a library, so the runtime's default
// DllMain cannot stand in for it.
BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) setPluginInstance(instance);
    return TRUE;
}

int runHallOfFame(CHallOfFameDlg& dialog, char* scoreString, INT_PTR replayId) {
    ModuleStateSwitch state;
    splitScoreString(scoreString, dialog.mode, dialog.score, dialog.level);
    return dialog.DoModal() == replayId ? 1 : 0;
}
