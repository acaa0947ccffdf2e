// What both plug-ins do as they load, and the window that owns their dialogs.
#include <windows.h>

#include "HostWindow.h"
#include "ModuleState.h"

// The host's window stands for the library's main window, so it owns the library's dialogs.
HWND mainWindow() { return findHostWindow(); }

// Linked from an object of its own, never taken from a library, so the runtime's default
// DllMain cannot stand in for it.
BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) setPluginInstance(instance);
    return TRUE;
}
