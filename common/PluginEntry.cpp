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

int runHallOfFame(const HallOfFame& hall, char* scoreString) {
    ModuleStateSwitch state;
    CHallOfFameDlg dialog(hall);
    splitScoreString(scoreString, dialog.mode, dialog.score, dialog.level);
    return dialog.DoModal() == static_cast<INT_PTR>(hall.replayId) ? 1 : 0;
}
