// Game after game of both plug-ins in one process, as a host that stays up all day plays them:
// after each game every plug-in holds no more keys, searches, files, fonts or bitmaps than
// before, no dialog is left, each result is stored when its name was asked for and only then,
// and after a hundred games the tables hold the best three of each mode.
// ZORV_LONG_CYCLES sets the number of games per plug-in.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "Autopilot.h"
#include "CallLedger.h"
#include "Games.h"
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

struct Session {
    explicit Session(const Game& game) : game(game), plugin(game.dll), calls(plugin.module) {}
    const Game& game;
    Plugin plugin;
    CallLedger calls;
};

bool contains(const std::vector<std::string>& dialogs, const std::string& caption) {
    return std::find(dialogs.begin(), dialogs.end(), caption) != dialogs.end();
}

// Start, score and stop; the score spread so that some games enter the table and some do not.
void playGame(Session& session, int cycle, Problems& problems) {
    const Game& game = session.game;
    Autopilot pilot;
    pilot.name = "P" + std::to_string(cycle % 1000000);
    pilot.customLevels = cycle % 2 == 0;
    const bool orvane = &game == &kOrvane;

    char startString[300] = {};
    const Autopilot::Run started = pilot.fly([&] { return session.plugin.start(startString, 0) ? 1 : 0; });
    const std::string expected = orvane ? "default" : pilot.customLevels ? "user*alpha*0" : "random*0";
    if (!started.result || startString != expected) problems.push_back(std::string("started ") + startString);
    if (orvane && contains(started.dialogs, kOrvane.notice.caption) != (cycle == 0))
        problems.push_back("the notice came again, or never");

    const std::string mode = expected.substr(0, expected.find('*'));
    const int score = (cycle * 7919 + static_cast<int>(strlen(game.name))) % 3000 - 100;
    const int level = cycle % 30 + 1;
    std::string scoreString = mode + "*" + std::to_string(score) + "*" + std::to_string(level);
    const StoredTable before = storedTable(kWorld, game.name, mode.c_str());
    const Autopilot::Run scored = pilot.fly([&] { return session.plugin.score(&scoreString[0], 0); });
    // A name asked for is entered with the result; without one the table stays as it was.
    const StoredTable after = storedTable(kWorld, game.name, mode.c_str());
    const StoredEntry result = {pilot.name, std::to_string(level), std::to_string(score)};
    const bool named = contains(scored.dialogs, game.nameEntry.caption);
    if (scored.result != 0 || named != (std::find(after.begin(), after.end(), result) != after.end()) ||
        (!named && after != before))
        problems.push_back("score " + std::to_string(score) + " went otherwise: " + show(after));

    const Autopilot::Run stopped = pilot.fly([&] { return session.plugin.stop() ? 1 : 0; });
    if (stopped.result != 1 || stopped.boxes.size() != 1 ||
        stopped.boxes[0].caption != "Quit " + std::string(game.name) + "?")
        problems.push_back("the quit question went otherwise");

    for (const Autopilot::Run* run : {&started, &scored, &stopped})
        if (run->hung) problems.push_back("hung");
    // The quit question and no other message; the count tells a missing one from extras.
    const std::vector<BoxCall>& boxes = session.calls.boxes();
    if (boxes.size() != 1) {
        std::string texts;
        for (const BoxCall& box : boxes) texts += " \"" + box.text + "\"";
        problems.push_back(std::to_string(boxes.size()) + " message boxes:" + texts);
    }
    session.calls.forget();
}
}  // namespace

TEST(LongSession, GameAfterGameLeavesNothingBehind) {
    Installation inst(kWorld);
    inst.addFolder("games\\quibbix\\alpha");
    Session sessions[] = {Session(kOrvane), Session(kQuibbix)};
    for (Session& session : sessions)
        for (Api api : {Api::RegOpenKeyExA, Api::FindFirstFileW, Api::CreateFontIndirectA, Api::LoadImageA})
            ASSERT_TRUE(session.calls.hooked(api)) << session.game.name << " " << apiName(api);

    const int count = cycles();
    const DWORD began = GetTickCount();
    int played = 0;
    for (int cycle = 0; cycle < count; ++cycle) {
        Problems problems;
        for (Session& session : sessions) {
            playGame(session, cycle, problems);
            for (Session& any : sessions)
                if (!any.calls.holdings().none())
                    problems.push_back(std::string(any.game.name) + " holds " + any.calls.holdings().describe());
            if (dialogWindowsLeft()) problems.push_back("a dialog outlived its call");
        }
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
    if (count != 100) return;
    // The best three of each mode's hundred games.
    EXPECT_EQ((StoredTable{{{"P25", "26", "2881"}, {"P50", "21", "2856"}, {"P75", "16", "2831"}}}),
              storedTable(kWorld, "Orvane", "default"));
    EXPECT_EQ((StoredTable{{{"P25", "26", "2882"}, {"P75", "16", "2832"}, {"P39", "10", "2748"}}}),
              storedTable(kWorld, "Quibbix", "random"));
    EXPECT_EQ((StoredTable{{{"P50", "21", "2857"}, {"P14", "15", "2773"}, {"P64", "5", "2723"}}}),
              storedTable(kWorld, "Quibbix", "user"));
}
