#include "ModuleState.h"

namespace {
HINSTANCE plugin = nullptr;
HINSTANCE current = nullptr;  // null: the host's executable
}  // namespace

void setPluginInstance(HINSTANCE instance) { plugin = instance; }

HINSTANCE pluginInstance() { return plugin; }

HINSTANCE resourceInstance() { return current ? current : GetModuleHandleA(nullptr); }

ModuleStateSwitch::ModuleStateSwitch() : previous_(current) { current = plugin; }

ModuleStateSwitch::~ModuleStateSwitch() { current = previous_; }
