// Game after game of both plug-ins in one process, as a host that stays up all day plays them:
// after each game every plug-in holds no more keys, searches, files, fonts or bitmaps than
// before, no dialog is left, and the stored tables are exactly what the games made of them.
// ZORV_LONG_CYCLES sets the number of games per plug-in.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "Autopilot.h"
#include "CallLedger.h"
#include "Installation.h"
#include "Plugin.h"
#include "StoredTables.h"

namespace {
const char* const kWorld = "dZORV_Session";
using Problems = std::vector<std::string>;

int cycles() {
    const char* text = getenv("ZORV_LONG_CYCLES");
    const int count = text ? atoi(text) : 0;
    return count > 0 ? count : 100;
}

struct Game {
    Game(const char* dll, const char* prefix, const char* quitCaption)
        : plugin(dll), calls(plugin.module), prefix(prefix), quitCaption(quitCaption) {}
    Plugin plugin;
    CallLedger calls;
    std::string prefix;
    std::string quitCaption;
};

bool contains(const std::vector<std::string>& dialogs, const std::string& caption) {
    return std::find(dialogs.begin(), dialogs.end(), caption) != dialogs.end();
}

// Start, score and stop; the score spread so that some games enter the table and some do not.
void playGame(Game& game, int cycle, std::map<std::string, StoredTable>& tables, Problems& problems) {
    Autopilot pilot;
    pilot.name = "P" + std::to_string(cycle % 1000000);
    pilot.customLevels = cycle % 2 == 0;
    const bool orvane = game.prefix == "Orvane";

    char startString[300] = {};
    const Autopilot::Run started = pilot.fly([&] { return game.plugin.start(startString, 0) ? 1 : 0; });
    const std::string expected = orvane ? "default" : pilot.customLevels ? "user*alpha*0" : "random*0";
    if (!started.result || startString != expected) problems.push_back(std::string("started ") + startString);
    if (orvane && contains(started.dialogs, "Orvane Info") != (cycle == 0))
        problems.push_back("the notice came again, or never");

    const std::string mode = expected.substr(0, expected.find('*'));
    const int score = (cycle * 7919 + static_cast<int>(game.prefix.size())) % 3000 - 100;
    const int level = cycle % 30 + 1;
    std::string scoreString = mode + "*" + std::to_string(score) + "*" + std::to_string(level);
    StoredTable& table = tables[game.prefix + mode];
    const bool qualifies = enters(table, score);
    const Autopilot::Run scored = pilot.fly([&] { return game.plugin.score(&scoreString[0], 0); });
    table = updated(table, pilot.name, score, level);
    if (scored.result != 0 || contains(scored.dialogs, game.prefix + " Hall Of Fame") != qualifies)
        problems.push_back("score " + std::to_string(score) + " went otherwise");

    const Autopilot::Run stopped = pilot.fly([&] { return game.plugin.stop() ? 1 : 0; });
    if (stopped.result != 1 || stopped.boxes.size() != 1 || stopped.boxes[0].caption != game.quitCaption)
        problems.push_back("the quit question went otherwise");

    for (const Autopilot::Run* run : {&started, &scored, &stopped})
        if (run->hung) problems.push_back("hung");
    if (game.calls.boxes().size() != 1) problems.push_back("a message: " + game.calls.boxes()[0].text);
    game.calls.forget();
}
}  // namespace

TEST(LongSession, GameAfterGameLeavesNothingBehind) {
    Installation inst(kWorld);
    inst.addFolder("games\\quibbix\\alpha");
    Game games[] = {{"orvane.dll", "Orvane", "Quit Orvane?"}, {"quibbix.dll", "Quibbix", "Quit Quibbix?"}};
    for (Game& game : games)
        for (Api api : {Api::RegOpenKeyExA, Api::FindFirstFileW, Api::CreateFontIndirectA, Api::LoadImageA})
            ASSERT_TRUE(game.calls.hooked(api)) << game.prefix << " " << apiName(api);

    std::map<std::string, StoredTable> tables;
    const int count = cycles();
    const DWORD began = GetTickCount();
    int played = 0;
    for (int cycle = 0; cycle < count; ++cycle) {
        Problems problems;
        for (Game& game : games) {
            playGame(game, cycle, tables, problems);
            for (Game& any : games)
                if (!any.calls.holdings().none())
                    problems.push_back(any.prefix + " holds " + any.calls.holdings().describe());
            if (dialogWindowsLeft()) problems.push_back("a dialog outlived its call");
        }
        for (const auto& table : tables)
            if (storedTable(kWorld, table.first) != table.second)
                problems.push_back(table.first + " " + show(storedTable(kWorld, table.first)) + ", not " +
                                   show(table.second));
        if (!problems.empty()) {
            std::string text;
            for (const std::string& p : problems) text += "; " + p;
            ADD_FAILURE() << "cycle " << cycle << text;
            break;
        }
        ++played;
    }
    printf("long session: %d of %d cycles of both plug-ins clean, %d entry-point calls, %.1f s\n", played, count,
           played * 6, (GetTickCount() - began) / 1000.0);
    EXPECT_EQ(count, played);
}
