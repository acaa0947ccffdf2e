// The start and score entry points run while a helper thread drives their dialogs.
#pragma once

#include <windows.h>

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "Plugin.h"

using Script = std::function<void(HWND dialog)>;

// What the start entry point left in a buffer of 0xbd bytes.
struct StartRun {
    bool result;
    char buffer[300];
};

// Runs the start entry point on the buffer while the script drives its dialog with this caption.
bool runStart(Plugin& plugin, char* buffer, const char* caption, const Script& script, int unused = 0);
StartRun runStart(Plugin& plugin, const char* caption, const Script& script, int unused = 0);
// Bytes from..to of the buffer still hold 0xbd.
bool untouched(const char* buffer, size_t from, size_t to);
inline bool untouched(const StartRun& run) { return untouched(run.buffer, 0, sizeof run.buffer); }
// The run gave the start string and its terminator and wrote nothing behind them; a failure
// names the caller's line.
void expectStartString(const std::string& expected, const StartRun& run, int line);
#define EXPECT_START_STRING(expected, run) expectStartString(expected, run, __LINE__)
Script clicks(std::vector<int> ids);

// What the score entry point left of its string, which has 0xbd bytes behind it.
struct ScoreRun {
    int result;
    char buffer[128];
};

// Runs the score entry point on a copy of the score string while the script drives it.
ScoreRun runScore(Plugin& plugin, const char* scoreString, const std::function<void()>& script, int unused = 0);
// Waits for the name entry with this caption, lets check see it, types the name and confirms.
void enterName(const char* caption, const char* name, const Script& check = nullptr);
