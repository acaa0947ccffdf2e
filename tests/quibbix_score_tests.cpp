// Quibbix's score entry point: the hall of fame with both tables, and a whole game's resources.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "CallLedger.h"
#include "DialogDriver.h"
#include "EntryRuns.h"
#include "Games.h"
#include "Installation.h"
#include "Plugin.h"
#include "StoredTables.h"
#include "quibbix/resource.h"

namespace {
const char* const kHallOfFame = kQuibbix.hallOfFame.caption;
const char* const kNameEntry = kQuibbix.nameEntry.caption;
const char* const kWorld = "dZORV_X";

using Texts = std::vector<std::string>;

int score(Plugin& plugin, const char* scoreString, const std::function<void()>& script) {
    return runScore(plugin, scoreString, script).result;
}

Texts rows(HWND dialog, int first) {
    Texts texts;
    for (int id = first; id < first + 9; ++id) texts.push_back(driver::text(dialog, id));
    return texts;
}

struct Shown {
    Texts upper, lower;
    std::string score;
    int weight = 0;
};

// Reads the hall of fame, then closes it.
std::function<void()> readHallOfFame(Shown& shown) {
    return [&shown] {
        HWND dialog = driver::waitFor(kHallOfFame);
        if (!dialog) return;
        shown.upper = rows(dialog, IDC_TABLE1_NAME1);
        shown.lower = rows(dialog, IDC_TABLE2_NAME1);
        shown.score = driver::text(dialog, IDC_SCORE);
        shown.weight = driver::fontWeight(driver::item(dialog, IDC_SCORE));
        driver::click(dialog, IDCANCEL);
    };
}

// The name entry, which shows the score while the hall of fame waits hidden, then the hall of fame read.
std::function<void()> namedThenRead(const char* name, const char* expectedScore, Shown& shown) {
    return [name, expectedScore, &shown] {
        ::enterName(kNameEntry, name, [expectedScore](HWND entry) {
            EXPECT_EQ(expectedScore, driver::text(entry, IDC_SCORE));
            HWND hallOfFame = driver::find(kHallOfFame);
            EXPECT_TRUE(!hallOfFame || !driver::visible(hallOfFame));
        });
        readHallOfFame(shown)();
    };
}

const Texts kEmpty(9);

class QuibbixScore : public ::testing::Test {
protected:
    Installation world{kWorld};
    Plugin plugin{"quibbix.dll"};
};
}  // namespace

TEST_F(QuibbixScore, EachModeKeepsItsOwnTableAndBothAreShown) {
    Shown shown;
    const ScoreRun run = runScore(plugin, "random*1500*3", namedThenRead("ACE", "1500", shown));
    EXPECT_EQ(0, run.result);
    const char* after = run.buffer;
    EXPECT_EQ((Texts{"ACE", "3", "1500", "", "", "", "", "", ""}), shown.upper);
    EXPECT_EQ(kEmpty, shown.lower);
    EXPECT_EQ("1500", shown.score);
    EXPECT_EQ(FW_BOLD, shown.weight);
    EXPECT_EQ("ACE", storedTable(kWorld, "Quibbix", "Random")[0].name);
    // Split in place: each separator taken is a terminator now, nothing behind the string moved.
    EXPECT_EQ(std::string("random\0001500\0003", 14), std::string(after, 14));
    EXPECT_EQ(0xbd, static_cast<unsigned char>(after[14]));

    // A lower score in the other mode competes with that mode's empty table only.
    EXPECT_EQ(0, score(plugin, "user*800*2", namedThenRead("BOB", "800", shown)));
    EXPECT_EQ((Texts{"ACE", "3", "1500", "", "", "", "", "", ""}), shown.upper);
    EXPECT_EQ((Texts{"BOB", "2", "800", "", "", "", "", "", ""}), shown.lower);

    // The mode's letter case does not make another table.
    EXPECT_EQ(0, score(plugin, "Random*2000*4", namedThenRead("CAT", "2000", shown)));
    EXPECT_EQ((Texts{"CAT", "4", "2000", "ACE", "3", "1500", "", "", ""}), shown.upper);
    EXPECT_EQ((Texts{"BOB", "2", "800", "", "", "", "", "", ""}), shown.lower);
}

// The name entry shown is Quibbix's own copy, one unit taller than Orvane's (the layout of each
// is checked in the built templates); cancelled, it still records the score, with no name.
TEST_F(QuibbixScore, NameEntryIsItsOwnAndCancelRecordsWithoutAName) {
    score(plugin, "random*10*1", [] {
        HWND entry = driver::waitFor(kNameEntry);
        if (!entry) return;
        RECT client = {0, 0, 186, 114}, actual = {};
        MapDialogRect(entry, &client);
        GetClientRect(entry, &actual);
        EXPECT_EQ(client.bottom, actual.bottom);
        driver::click(entry, IDCANCEL);
        if (HWND dialog = driver::waitFor(kHallOfFame)) driver::click(dialog, IDCANCEL);
    });
    EXPECT_EQ((StoredEntry{"", "1", "10"}), storedTable(kWorld, "Quibbix", "Random")[0]);
}

TEST_F(QuibbixScore, ScoreEqualToTheThirdIsNotAskedFor) {
    storeTable(kWorld, "Quibbix", "User", {{{"ANN", "9", "500"}, {"", "5", "300"}, {"CY", "2", "100"}}});
    Shown shown;
    // The name entry would come first and hold the hall of fame back.
    EXPECT_EQ(0, score(plugin, "user*100*7", readHallOfFame(shown)));
    EXPECT_EQ((Texts{"ANN", "9", "500", "", "5", "300", "CY", "2", "100"}), shown.lower);
    EXPECT_EQ(kEmpty, shown.upper);
    EXPECT_EQ("100", shown.score);
}

TEST_F(QuibbixScore, AWholeGameDeletesEveryFontAndBitmapItMade) {
    world.addFolder("games\\quibbix\\alpha");
    CallLedger gdi(plugin.module);
    for (Api api : {Api::LoadImageA, Api::CreateFontIndirectA, Api::DeleteObject}) ASSERT_TRUE(gdi.hooked(api));
    auto made = [&gdi] { return gdi.count(Api::LoadImageA) + gdi.count(Api::CreateFontIndirectA); };

    const StartRun started = runStart(plugin, kQuibbix.start.caption, [](HWND start) {
        driver::click(start, IDC_USER);
        if (HWND levels = driver::waitFor(kQuibbix.customLevels.caption)) {
            driver::click(levels, IDCANCEL);
            driver::waitGone(levels);
        }
        driver::click(start, IDC_USER);
        if (HWND levels = driver::waitFor(kQuibbix.customLevels.caption)) {
            SendMessageA(driver::item(levels, IDC_FOLDER_LIST), CB_SETCURSEL, 1, 0);
            driver::click(levels, IDOK);
        }
    });
    EXPECT_TRUE(started.result);
    EXPECT_STREQ("user*alpha*0", started.buffer);
    EXPECT_EQ(2, made());

    Shown shown;
    EXPECT_EQ(0, score(plugin, "user*1500*3", namedThenRead("ACE", "1500", shown)));
    EXPECT_EQ("ACE", shown.lower[0]);
    EXPECT_EQ(4, made());  // and a bold font for each of the two dialogs
    EXPECT_TRUE(gdi.holdings().none()) << gdi.holdings().describe();
}
