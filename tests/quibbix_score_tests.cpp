// Quibbix's score entry point: the hall of fame with both tables, and a whole game's resources.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "DialogDriver.h"
#include "GdiTracker.h"
#include "Installation.h"
#include "Plugin.h"

namespace {
const char* const kHallOfFame = "Quibbix Hall of Fame";
const char* const kNameEntry = "Quibbix Hall Of Fame";
const char* const kWorld = "dZORV_X";

enum { kReplay = 3, kScore = 119 };

using Texts = std::vector<std::string>;

// A world to keep the tables in.
struct World {
    World() {
        inst.addWorld(kWorld);
        inst.setCurrentWorld(kWorld);
    }
    Installation inst;
};

// Runs the score entry point on a copy of the score string (0xbd behind it) while the script drives.
int runScore(Plugin& plugin, const char* scoreString, std::function<void()> script, char* after = nullptr) {
    char buffer[64];
    memset(buffer, 0xbd, sizeof buffer);
    memcpy(buffer, scoreString, strlen(scoreString) + 1);
    ScriptedRun driverThread(script);
    const int result = plugin.score(buffer, 0);
    driverThread.finish();
    if (after) memcpy(after, buffer, sizeof buffer);
    return result;
}

// Where the template puts a control, in dialog units; position and size are mapped apart.
void expectAt(HWND dialog, HWND control, int x, int y, int width, int height) {
    RECT at = {x, y, width, height};
    MapDialogRect(dialog, &at);
    RECT actual = driver::rect(control);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&actual), 2);
    EXPECT_EQ(at.left, actual.left) << "control " << GetDlgCtrlID(control);
    EXPECT_EQ(at.top, actual.top) << "control " << GetDlgCtrlID(control);
    EXPECT_EQ(at.right, actual.right - actual.left) << "control " << GetDlgCtrlID(control);
    EXPECT_EQ(at.bottom, actual.bottom - actual.top) << "control " << GetDlgCtrlID(control);
}

// The name-entry dialog: checks what it shows, types the name and confirms.
void enterName(const char* name, const char* expectedScore) {
    HWND entry = driver::waitFor(kNameEntry);
    if (!entry) return;
    EXPECT_EQ(expectedScore, driver::text(entry, kScore));
    HWND hallOfFame = driver::find(kHallOfFame);
    EXPECT_TRUE(!hallOfFame || !driver::visible(hallOfFame));
    driver::type(driver::item(entry, 124), name);
    driver::click(entry, IDOK);
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

// Reads the hall of fame, then ends it with the given button.
std::function<void()> readHallOfFame(Shown& shown, int button = IDCANCEL) {
    return [&shown, button] {
        HWND dialog = driver::waitFor(kHallOfFame);
        if (!dialog) return;
        shown.upper = rows(dialog, 110);
        shown.lower = rows(dialog, 121);
        shown.score = driver::text(dialog, kScore);
        shown.weight = driver::fontWeight(driver::item(dialog, kScore));
        driver::click(dialog, button);
    };
}

const Texts kEmpty(9);
}  // namespace

TEST(QuibbixScore, EachModeKeepsItsOwnTableAndBothAreShown) {
    World world;
    Plugin plugin("quibbix.dll");
    Shown shown;
    char after[64];
    EXPECT_EQ(0, runScore(
                     plugin, "random*1500*3",
                     [&shown] {
                         enterName("ACE", "1500");
                         readHallOfFame(shown)();
                     },
                     after));
    EXPECT_EQ((Texts{"ACE", "3", "1500", "", "", "", "", "", ""}), shown.upper);
    EXPECT_EQ(kEmpty, shown.lower);
    EXPECT_EQ("1500", shown.score);
    EXPECT_EQ(FW_BOLD, shown.weight);
    EXPECT_EQ("ACE", reg::text(kWorld, "QuibbixRandomName1"));
    // Split in place: each separator taken is a terminator now, nothing behind the string moved.
    EXPECT_EQ(0, memcmp(after,
                        "random\0"
                        "1500\0"
                        "3",
                        14));
    EXPECT_EQ(0xbd, static_cast<unsigned char>(after[14]));

    // A lower score in the other mode competes with that mode's empty table only.
    EXPECT_EQ(0, runScore(plugin, "user*800*2", [&shown] {
                  enterName("BOB", "800");
                  readHallOfFame(shown)();
              }));
    EXPECT_EQ((Texts{"ACE", "3", "1500", "", "", "", "", "", ""}), shown.upper);
    EXPECT_EQ((Texts{"BOB", "2", "800", "", "", "", "", "", ""}), shown.lower);

    // The mode's letter case does not make another table.
    EXPECT_EQ(0, runScore(plugin, "Random*2000*4", [&shown] {
                  enterName("CAT", "2000");
                  readHallOfFame(shown)();
              }));
    EXPECT_EQ((Texts{"CAT", "4", "2000", "ACE", "3", "1500", "", "", ""}), shown.upper);
    EXPECT_EQ((Texts{"BOB", "2", "800", "", "", "", "", "", ""}), shown.lower);
}

// Quibbix's copy of the name entry: one unit taller, every control but GAME OVER one unit lower.
TEST(QuibbixScore, NameEntryHasItsOwnLayout) {
    World world;
    Plugin plugin("quibbix.dll");
    runScore(plugin, "random*10*1", [] {
        HWND entry = driver::waitFor(kNameEntry);
        if (!entry) return;
        RECT client = {0, 0, 186, 114}, actual = {};
        MapDialogRect(entry, &client);
        GetClientRect(entry, &actual);
        EXPECT_EQ(client.right, actual.right);
        EXPECT_EQ(client.bottom, actual.bottom);
        expectAt(entry, driver::item(entry, 124), 48, 70, 89, 14);
        expectAt(entry, driver::item(entry, IDOK), 7, 93, 50, 14);
        expectAt(entry, driver::item(entry, kScore), 48, 39, 89, 14);
        expectAt(entry, driver::item(entry, 120), 48, 7, 89, 14);
        driver::click(entry, IDCANCEL);
        if (HWND dialog = driver::waitFor(kHallOfFame)) driver::click(dialog, IDCANCEL);
    });
    // Cancel still records the score, with no name.
    EXPECT_EQ("10", reg::text(kWorld, "QuibbixRandomScore1"));
    EXPECT_EQ("", reg::text(kWorld, "QuibbixRandomName1"));
}

TEST(QuibbixScore, ScoreEqualToTheThirdIsNotAskedFor) {
    World world;
    const char* const stored[][3] = {{"ANN", "9", "500"}, {"", "5", "300"}, {"CY", "2", "100"}};
    for (int rank = 0; rank < 3; ++rank) {
        const std::string suffix = std::to_string(rank + 1);
        reg::setString(kWorld, ("QuibbixUserName" + suffix).c_str(), stored[rank][0]);
        reg::setString(kWorld, ("QuibbixUserLevel" + suffix).c_str(), stored[rank][1]);
        reg::setString(kWorld, ("QuibbixUserScore" + suffix).c_str(), stored[rank][2]);
    }
    Plugin plugin("quibbix.dll");
    Shown shown;
    // The name entry would come first and hold the hall of fame back.
    EXPECT_EQ(0, runScore(plugin, "user*100*7", readHallOfFame(shown)));
    EXPECT_EQ((Texts{"ANN", "9", "500", "", "5", "300", "CY", "2", "100"}), shown.lower);
    EXPECT_EQ(kEmpty, shown.upper);
    EXPECT_EQ("100", shown.score);
}

TEST(QuibbixScore, OnlyReplayAsksForAnotherGame) {
    World world;
    Plugin plugin("quibbix.dll");
    Shown shown;
    EXPECT_EQ(1, runScore(plugin, "random*0*1", readHallOfFame(shown, kReplay)));
    EXPECT_EQ(0, runScore(plugin, "random*0*1", readHallOfFame(shown, IDCANCEL)));
    void (*endings[])(HWND) = {
        [](HWND dialog) { driver::pressEscape(dialog); }, [](HWND dialog) { driver::closeBox(dialog); },
        [](HWND dialog) { driver::pressEnter(dialog); },  // Close has the focus
    };
    for (auto ending : endings) {
        EXPECT_EQ(0, runScore(plugin, "random*0*1", [ending] {
                      if (HWND dialog = driver::waitFor(kHallOfFame)) {
                          EXPECT_EQ(driver::item(dialog, IDCANCEL), driver::focus(dialog));
                          ending(dialog);
                      }
                  }));
    }
    EXPECT_EQ(kEmpty, shown.upper);
}

TEST(QuibbixScore, MissingFieldsCountZero) {
    World world;
    Plugin plugin("quibbix.dll");
    Shown shown;
    EXPECT_EQ(0, runScore(plugin, "random", readHallOfFame(shown)));
    EXPECT_EQ("0", shown.score);
    EXPECT_EQ(0, runScore(plugin, "", readHallOfFame(shown)));
    EXPECT_EQ("0", shown.score);
    {
        ScriptedRun driverThread(readHallOfFame(shown));
        EXPECT_EQ(0, plugin.score(nullptr, 0));
    }
    EXPECT_EQ("0", shown.score);
    EXPECT_EQ(kEmpty, shown.upper);

    // Empty fields are skipped: the 5 is the score, and the level is missing.
    EXPECT_EQ(0, runScore(plugin, "random**5", [&shown] {
                  enterName("", "5");
                  readHallOfFame(shown)();
              }));
    EXPECT_EQ((Texts{"", "0", "5", "", "", "", "", "", ""}), shown.upper);
}

TEST(QuibbixResources, AWholeGameDeletesEveryFontAndBitmapItMade) {
    World world;
    world.inst.addFolder("games");
    world.inst.addFolder("games\\quibbix");
    world.inst.addFolder("games\\quibbix\\alpha");
    Plugin plugin("quibbix.dll");
    GdiTracker gdi(plugin.module);
    ASSERT_TRUE(gdi.installed());

    char startString[260];
    memset(startString, 0xbd, sizeof startString);
    {
        ScriptedRun driverThread([] {
            HWND start = driver::waitFor("Quibbix Start Game Dialog");
            if (!start) return;
            driver::click(start, 104);
            if (HWND levels = driver::waitFor("Quibbix Custom Levels Selection")) {
                driver::click(levels, IDCANCEL);
                driver::waitGone(levels);
            }
            driver::click(start, 104);
            if (HWND levels = driver::waitFor("Quibbix Custom Levels Selection")) {
                SendMessageA(driver::item(levels, 1000), CB_SETCURSEL, 1, 0);
                driver::click(levels, IDOK);
            }
        });
        EXPECT_TRUE(plugin.start(startString, 0));
    }
    EXPECT_STREQ("user*alpha*0", startString);
    EXPECT_EQ(2, gdi.made);

    char scoreString[] = "user*1500*3";
    Shown shown;
    {
        ScriptedRun driverThread([&shown] {
            enterName("ACE", "1500");
            readHallOfFame(shown)();
        });
        EXPECT_EQ(0, plugin.score(scoreString, 0));
    }
    EXPECT_EQ("ACE", shown.lower[0]);
    EXPECT_EQ(4, gdi.made);  // and a bold font for each of the two dialogs
    EXPECT_TRUE(gdi.alive.empty()) << gdi.alive.size() << " not deleted";
    EXPECT_EQ(0, gdi.deletedWhileShown);
}
