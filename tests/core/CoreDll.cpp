// The plug-ins' shared code as a DLL of its own, so that tests call it directly and can
// intercept its imports without touching their own.
#include <windows.h>

#include "ModuleState.h"

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) setPluginInstance(instance);
    return TRUE;
}
