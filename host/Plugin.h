// A game plug-in DLL and its three entry points, taken by export ordinal.
#pragma once

#include <windows.h>

#include "PluginContract.h"

class Plugin {
public:
    Plugin() = default;
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

    // Fills a host buffer of kHostBufferSize bytes; false when the player chose not to play.
    bool start(char* startString) const;
    // 1 for Replay; the plug-in splits the string in place.
    int score(char* scoreString) const;
    // True when the player wants to quit the current game.
    bool stop() const;

private:
    HMODULE module_ = nullptr;
    StartEntryPoint start_ = nullptr;
    ScoreEntryPoint score_ = nullptr;
    StopEntryPoint stop_ = nullptr;
    char title_[64] = {};
    char about_[400] = {};
    char error_[400] = {};
};

// "mode*score*level", the mode being the start string's first field.
void buildScoreString(const char* startString, int score, int level, char* scoreString);
