// Which module dialog templates and bitmaps come from.
//
// Outside an entry point that is the host's executable, as for any code running in the
// host; an entry point puts a ModuleStateSwitch on its stack to make the plug-in's own
// module current on its thread until it returns.
#pragma once

#include <windows.h>

// Handed over by the library's DllMain: its instance, and what finds the window that stands for its
// main window and owns its outermost dialogs (the plug-ins': the host's window).
void setPluginInstance(HINSTANCE instance, HWND (*findMainWindow)());
HINSTANCE pluginInstance();

HINSTANCE resourceInstance();

// That window; null for none.
HWND mainWindow();

class ModuleStateSwitch {
public:
    ModuleStateSwitch();
    ~ModuleStateSwitch();
    ModuleStateSwitch(const ModuleStateSwitch&) = delete;
    ModuleStateSwitch& operator=(const ModuleStateSwitch&) = delete;

private:
    HINSTANCE previous_;
};
