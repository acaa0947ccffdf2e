// Which module dialog templates and bitmaps come from.
//
// Outside an entry point that is the host's executable, as for any code running in the
// host; an entry point puts a ModuleStateSwitch on its stack to make the plug-in's own
// module current on its thread until it returns.
#pragma once

#include <windows.h>

// Recorded by the plug-in's DllMain.
void setPluginInstance(HINSTANCE instance);
HINSTANCE pluginInstance();

HINSTANCE resourceInstance();

// The window that stands for the library's main window and owns its outermost dialogs; the
// library that uses the framework defines it (the plug-ins: the host's window). Null for none.
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
