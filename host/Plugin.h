// A game plug-in DLL loaded into this process, and its three entry points taken by export
// ordinal: the host plays it, the tests and the benchmark drive it.
#pragma once

#include <windows.h>

#include "PluginContract.h"

// An export by name or ordinal, as a host would take it.
template <typename Function>
Function exportOf(HMODULE module, const char* nameOrOrdinal) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, nameOrOrdinal)));
}

class Plugin {
public:
    Plugin() = default;
    // Loads at once; module is null when that failed.
    explicit Plugin(const char* nameOrPath) { load(nameOrPath); }
    ~Plugin();
    Plugin(const Plugin&) = delete;
    Plugin& operator=(const Plugin&) = delete;

    // A bare name such as "orvane" means orvane.dll beside the host; a path is taken as it is.
    // On false, error() tells why.
    bool load(const char* nameOrPath);
    const char* error() const { return error_; }
    // The game's name from the file name: orvane.dll plays "Orvane".
    const char* title() const { return title_; }
    // The file, and its description and version as the DLL states them.
    const char* about() const { return about_; }

    HMODULE module = nullptr;
    // The start entry point fills a host buffer of kHostBufferSize bytes; the score entry point
    // splits its string in place and gives 1 for Replay.
    StartEntryPoint start = nullptr;
    ScoreEntryPoint score = nullptr;
    StopEntryPoint stop = nullptr;

private:
    char title_[64] = {};
    char about_[400] = {};
    char error_[400] = {};
};

// "mode*score*level", the mode being the start string's first field.
void buildScoreString(const char* startString, int score, int level, char* scoreString);
