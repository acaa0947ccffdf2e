// The three entry points the host calls.
#include <windows.h>

#include "HostWindow.h"
#include "ModuleState.h"

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) setPluginInstance(instance);
    return TRUE;
}

extern "C" bool __stdcall fnGameStartDlgzorv(char*, int) {
    ModuleStateSwitch state;
    return false;
}

extern "C" int __stdcall fnGameScoreDlgzorv(char*, int) {
    ModuleStateSwitch state;
    return 0;
}

extern "C" bool __stdcall fnGameStopDlgzorv() {
    return confirmQuit("Do you want to quit the current game of Quibbix?", "Quit Quibbix?");
}
