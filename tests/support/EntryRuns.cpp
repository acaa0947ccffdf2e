#include "EntryRuns.h"

#include <gtest/gtest.h>

#include <cstring>

#include "DialogDriver.h"
#include "HallOfFameIds.h"

bool runStart(Plugin& plugin, char* buffer, const char* caption, const Script& script, int unused) {
    ScriptedRun driverThread([caption, script, thread = GetCurrentThreadId()] {
        if (HWND dialog = driver::waitOn(thread, caption)) script(dialog);
    });
    return plugin.start(buffer, unused);
}

StartRun runStart(Plugin& plugin, const char* caption, const Script& script, int unused) {
    StartRun run = {};
    memset(run.buffer, 0xbd, sizeof run.buffer);
    run.result = runStart(plugin, run.buffer, caption, script, unused);
    return run;
}

bool untouched(const char* buffer, size_t from, size_t to) {
    for (size_t i = from; i < to; ++i)
        if (static_cast<unsigned char>(buffer[i]) != 0xbd) return false;
    return true;
}

void expectStartString(const std::string& expected, const StartRun& run, int line) {
    EXPECT_TRUE(run.result) << "line " << line;
    EXPECT_EQ(expected, std::string(run.buffer, strnlen(run.buffer, sizeof run.buffer))) << "line " << line;
    EXPECT_TRUE(untouched(run.buffer, expected.size() + 1, sizeof run.buffer)) << "line " << line;
}

Script clicks(std::vector<int> ids) {
    return [ids](HWND dialog) {
        for (int id : ids) driver::click(dialog, id);
    };
}

ScoreRun runScore(Plugin& plugin, const char* scoreString, const std::function<void()>& script, int unused) {
    ScoreRun run = {};
    memset(run.buffer, 0xbd, sizeof run.buffer);
    memcpy(run.buffer, scoreString, strlen(scoreString) + 1);
    ScriptedRun driverThread(script);
    run.result = plugin.score(run.buffer, unused);
    return run;
}

void enterName(const char* caption, const char* name, const Script& check) {
    HWND entry = driver::waitFor(caption);
    if (!entry) return;
    if (check) check(entry);
    driver::type(driver::item(entry, IDC_PLAYER_NAME), name);
    driver::click(entry, IDOK);
}
