#include "ModuleState.h"

#include "ThreadLocal.h"

namespace {
HINSTANCE plugin = nullptr;
HWND (*findMain)() = nullptr;
// Null: the host's executable. Each thread's own, so that one thread's return does not switch
// another back to the host in the middle of its dialog.
const ThreadLocal<HINSTANCE> current;
}  // namespace

void setPluginInstance(HINSTANCE instance, HWND (*findMainWindow)()) {
    plugin = instance;
    findMain = findMainWindow;
}

HINSTANCE pluginInstance() { return plugin; }

HWND mainWindow() { return findMain ? findMain() : nullptr; }

HINSTANCE resourceInstance() { return current.get() ? current.get() : GetModuleHandleA(nullptr); }

ModuleStateSwitch::ModuleStateSwitch() : previous_(current.get()) { current.set(plugin); }

ModuleStateSwitch::~ModuleStateSwitch() { current.set(previous_); }
