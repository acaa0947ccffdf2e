// Replaces one import of a loaded module with a function of the test, for as long as it lives.
#pragma once

#include <windows.h>

class ImportHook {
public:
    // dll is matched without regard to case, function by its import name.
    ImportHook(HMODULE module, const char* dll, const char* function, const void* replacement);
    ~ImportHook();
    ImportHook(const ImportHook&) = delete;
    ImportHook& operator=(const ImportHook&) = delete;

    bool installed() const { return slot_ != nullptr; }
    // The function the module called before; call it to pass a call through.
    template <typename Function>
    Function original() const {
        return reinterpret_cast<Function>(original_);
    }

private:
    void** slot_ = nullptr;
    void* original_ = nullptr;
};

// Every import of the module, "DLL!function", in table order (to count and list call sites).
int listImports(HMODULE module, char names[][64], int capacity);
