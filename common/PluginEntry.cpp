// What both plug-ins do as they load.
#include <windows.h>

#include "HostWindow.h"
#include "ModuleState.h"

// Linked from an object of its own, never taken from a library, so the runtime's default
// DllMain cannot stand in for it. The host's window stands for the library's main window, so it
// owns the library's outermost dialogs.
BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) setPluginInstance(instance, findHostWindow);
    return TRUE;
}
