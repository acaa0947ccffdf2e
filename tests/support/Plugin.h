// A plug-in DLL loaded into the test process, with its three entry points.
#pragma once

#include <windows.h>

using StartEntry = bool(__stdcall*)(char* startString, int unused);
using ScoreEntry = int(__stdcall*)(char* scoreString, int unused);
using StopEntry = bool(__stdcall*)();

// An export by name or ordinal, as the host would take it.
template <typename Function>
Function exportOf(HMODULE module, const char* nameOrOrdinal) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, nameOrOrdinal)));
}

struct Plugin {
    explicit Plugin(const char* name)
        : module(LoadLibraryA(name)),
          start(exportOf<StartEntry>(module, "fnGameStartDlgzorv")),
          score(exportOf<ScoreEntry>(module, "fnGameScoreDlgzorv")),
          stop(exportOf<StopEntry>(module, "fnGameStopDlgzorv")) {}
    ~Plugin() {
        if (module) FreeLibrary(module);
    }
    Plugin(const Plugin&) = delete;
    Plugin& operator=(const Plugin&) = delete;

    HMODULE module;
    StartEntry start;
    ScoreEntry score;
    StopEntry stop;
};
