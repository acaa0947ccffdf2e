// Which module dialog templates and bitmaps come from.
//
// Outside an entry point that is the host's executable, as for any code running in the
// host; an entry point puts a ModuleStateSwitch on its stack to make the plug-in's own
// module current until it returns.
#pragma once

#include <windows.h>

// Recorded by the plug-in's DllMain.
void setPluginInstance(HINSTANCE instance);
HINSTANCE pluginInstance();

HINSTANCE resourceInstance();

// The library's application object, one at namespace scope per plug-in: it names the window that
// stands for the library's main window, the host's, which the framework cannot find by itself.
class CPluginApp {
public:
    explicit CPluginApp(HWND (*mainWindow)());
    CPluginApp(const CPluginApp&) = delete;
    CPluginApp& operator=(const CPluginApp&) = delete;
};

// Null without an application object, or when it finds no window.
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
