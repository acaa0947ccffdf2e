// Orvane's score entry point: name entry, the stored table and the hall of fame.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "DialogDriver.h"
#include "GdiTracker.h"
#include "Installation.h"
#include "Plugin.h"
#include "RegistrySandbox.h"

namespace {
const char* const kWorld = "dZORV_Orbit";
const char* const kHallOfFame = "Orvane Hall of Fame";
const char* const kNameEntry = "Orvane Hall Of Fame";

class OrvaneScore : public ::testing::Test {
protected:
    OrvaneScore() {
        install.addWorld(kWorld);
        install.setCurrentWorld(kWorld);
    }

    std::string stored(const char* suffix) {
        return reg::text(kWorld, (std::string("Orvanedefault") + suffix).c_str());
    }

    void storeEntry(int rank, const char* name, const char* level, const char* score) {
        const std::string r = std::to_string(rank);
        reg::setString(kWorld, ("OrvanedefaultName" + r).c_str(), name, REG_SZ, false);
        reg::setString(kWorld, ("OrvanedefaultLevel" + r).c_str(), level, REG_SZ, false);
        reg::setString(kWorld, ("OrvanedefaultScore" + r).c_str(), score, REG_SZ, false);
    }

    // Runs the score entry point on the given score string while the script drives it.
    int runScore(const char* scoreString, std::function<void()> script) {
        strcpy(buffer, scoreString);
        ScriptedRun driverThread(script);
        return plugin.score(buffer, 0x5a5a5a5a);
    }

    Installation install;
    Plugin plugin{"orvane.dll"};
    char buffer[128] = {};
};

void enterName(const char* name) {
    HWND entry = driver::waitFor(kNameEntry);
    if (!entry) return;
    driver::type(driver::item(entry, 124), name);
    driver::click(entry, IDOK);
}

// The nine cells of the table, row by row.
std::string tableShown(HWND hallOfFame) {
    std::string cells;
    for (int id = 110; id <= 118; ++id) cells += driver::text(hallOfFame, id) + "|";
    return cells;
}
}  // namespace

TEST_F(OrvaneScore, QualifyingScoreAsksForANameFirstThenShowsTheTable) {
    EXPECT_EQ(0, runScore("default*1500*3", [] {
                  HWND entry = driver::waitFor(kNameEntry);
                  if (!entry) return;
                  HWND hallOfFame = driver::find(kHallOfFame);
                  EXPECT_NE(nullptr, hallOfFame);
                  EXPECT_FALSE(driver::visible(hallOfFame));
                  EXPECT_EQ("1500", driver::text(entry, 119));
                  EXPECT_EQ(FW_BOLD, driver::fontWeight(driver::item(entry, 119)));
                  EXPECT_EQ("GAME OVER", driver::text(entry, 120));
                  EXPECT_EQ(FW_BOLD, driver::fontWeight(driver::item(entry, 120)));
                  EXPECT_NE(FW_BOLD, driver::fontWeight(driver::item(entry, 124)));
                  EXPECT_EQ(driver::item(entry, 124), driver::focus(entry));
                  driver::type(driver::item(entry, 124), "ACE");
                  driver::click(entry, IDOK);

                  hallOfFame = driver::waitFor(kHallOfFame);
                  if (!hallOfFame) return;
                  EXPECT_EQ("ACE|3|1500|||||||", tableShown(hallOfFame));
                  EXPECT_EQ("1500", driver::text(hallOfFame, 119));
                  EXPECT_EQ(FW_BOLD, driver::fontWeight(driver::item(hallOfFame, 119)));
                  EXPECT_EQ(driver::item(hallOfFame, IDCANCEL), driver::focus(hallOfFame));
                  driver::click(hallOfFame, IDCANCEL);
              }));
    EXPECT_STREQ("default", buffer);
    EXPECT_EQ("ACE", stored("Name1"));
    EXPECT_EQ("3", stored("Level1"));
    EXPECT_EQ("1500", stored("Score1"));
}

TEST_F(OrvaneScore, CancelledOrEmptyNameIsRecordedWithoutAName) {
    runScore("default*1500*3", [] {
        if (HWND entry = driver::waitFor(kNameEntry)) driver::click(entry, IDCANCEL);
        if (HWND hallOfFame = driver::waitFor(kHallOfFame)) {
            EXPECT_EQ("|3|1500|||||||", tableShown(hallOfFame));
            driver::closeBox(hallOfFame);
        }
    });
    runScore("default*2000*4", [] {
        if (HWND entry = driver::waitFor(kNameEntry)) driver::pressEnter(entry);
        if (HWND hallOfFame = driver::waitFor(kHallOfFame)) {
            // The earlier unnamed result moves down rather than vanishing.
            EXPECT_EQ("|4|2000||3|1500||||", tableShown(hallOfFame));
            driver::pressEscape(hallOfFame);
        }
    });
}

TEST_F(OrvaneScore, NamesAreCutAtEightCharacters) {
    runScore("default*10*1", [] {
        HWND entry = driver::waitFor(kNameEntry);
        if (!entry) return;
        driver::type(driver::item(entry, 124), "ABCDEFGHIJ");
        for (int i = 0; i < 100 && driver::text(entry, 124).size() < 8; ++i) Sleep(10);
        Sleep(50);
        EXPECT_EQ("ABCDEFGH", driver::text(entry, 124));
        driver::click(entry, IDOK);
        if (HWND hallOfFame = driver::waitFor(kHallOfFame)) driver::click(hallOfFame, IDCANCEL);
    });
    EXPECT_EQ("ABCDEFGH", stored("Name1"));
}

TEST_F(OrvaneScore, ScoreEqualToTheThirdIsNotAskedForAndChangesNothing) {
    storeEntry(1, "A", "5", "500");
    storeEntry(2, "B", "3", "300");
    storeEntry(3, "C", "1", "100");
    runScore("default*100*9", [] {
        HWND hallOfFame = driver::waitFor(kHallOfFame);
        EXPECT_EQ(nullptr, driver::find(kNameEntry));
        if (!hallOfFame) return;
        EXPECT_EQ("A|5|500|B|3|300|C|1|100|", tableShown(hallOfFame));
        EXPECT_EQ("100", driver::text(hallOfFame, 119));
        driver::click(hallOfFame, IDCANCEL);
    });
    runScore("default*301*2", [] {
        enterName("NEW");
        if (HWND hallOfFame = driver::waitFor(kHallOfFame)) {
            EXPECT_EQ("A|5|500|NEW|2|301|B|3|300|", tableShown(hallOfFame));
            driver::click(hallOfFame, IDCANCEL);
        }
    });
}

// Another host storing a result while the name is typed: the update applies to the table as it
// is stored when the name comes back, and a score it no longer takes is not entered.
TEST_F(OrvaneScore, AResultStoredWhileTheNameIsTypedIsKept) {
    struct Race {
        const char* scoreString;
        const char* otherScore;
        const char* shown;
    };
    for (const Race& race : {Race{"default*1000*9", "800", "X|9|1000|Y|8|800|A|5|500|"},
                             Race{"default*150*9", "1000", "Y|8|1000|A|5|500|B|3|300|"}}) {
        storeEntry(1, "A", "5", "500");
        storeEntry(2, "B", "3", "300");
        storeEntry(3, "C", "1", "100");
        runScore(race.scoreString, [this, race] {
            if (!driver::waitFor(kNameEntry)) return;
            storeEntry(1, "Y", "8", race.otherScore);
            storeEntry(2, "A", "5", "500");
            storeEntry(3, "B", "3", "300");
            enterName("X");
            if (HWND hallOfFame = driver::waitFor(kHallOfFame)) {
                EXPECT_EQ(race.shown, tableShown(hallOfFame)) << race.scoreString;
                driver::click(hallOfFame, IDCANCEL);
            }
        });
    }
}

// Stored names are shown as they are: an "&" underlines nothing and is no shortcut. (Wine's
// dialog manager still takes the shortcut; Windows does not, so the style is what is checked.)
TEST_F(OrvaneScore, NamesWithAnAmpersandAreShownAsStored) {
    storeEntry(1, "R&D", "5", "500");
    storeEntry(2, "&", "3", "300");
    runScore("default*0*1", [] {
        HWND hallOfFame = driver::waitFor(kHallOfFame);
        if (!hallOfFame) return;
        EXPECT_EQ("R&D|5|500|&|3|300||||", tableShown(hallOfFame));
        for (int id = 110; id <= 119; ++id) EXPECT_TRUE(driver::style(driver::item(hallOfFame, id)) & SS_NOPREFIX);
        driver::click(hallOfFame, IDCANCEL);
    });
}

// A text too long for its capacity reads as empty: entering a result from that snapshot would
// overwrite or move what it never saw.
TEST_F(OrvaneScore, TableWithATextTooLongToReadTakesNoResult) {
    const std::string tooLong(40, '7');
    storeEntry(1, "A", "5", "500");
    storeEntry(2, "B", tooLong.c_str(), "300");
    storeEntry(3, "C", "1", "100");
    runScore("default*400*2", [] {
        HWND hallOfFame = driver::waitFor(kHallOfFame);
        EXPECT_EQ(nullptr, driver::find(kNameEntry));
        if (!hallOfFame) return;
        EXPECT_EQ("A|5|500|B||300|C|1|100|", tableShown(hallOfFame));
        driver::click(hallOfFame, IDCANCEL);
    });
    EXPECT_EQ(tooLong, stored("Level2"));
    EXPECT_EQ("B", stored("Name2"));
    EXPECT_EQ("300", stored("Score2"));
    EXPECT_EQ("C", stored("Name3"));
    EXPECT_EQ("1", stored("Level3"));
    EXPECT_EQ("100", stored("Score3"));
}

TEST_F(OrvaneScore, ReplayGivesOneEveryOtherEndingZero) {
    EXPECT_EQ(1, runScore("default*0*1", [] {
                  if (HWND h = driver::waitFor(kHallOfFame)) driver::click(h, 1000);
              }));
    EXPECT_EQ(0, runScore("default*0*1", [] {
                  if (HWND h = driver::waitFor(kHallOfFame)) driver::pressEscape(h);
              }));
    EXPECT_EQ(0, runScore("default*0*1", [] {
                  if (HWND h = driver::waitFor(kHallOfFame)) driver::closeBox(h);
              }));
    EXPECT_EQ(0, runScore("default*0*1", [] {
                  if (HWND h = driver::waitFor(kHallOfFame)) driver::pressEnter(h);
              }));
}

TEST_F(OrvaneScore, FieldsAreReadAsTheHostsIntegers) {
    runScore("default*0042*0003", [] {
        enterName("Z");
        if (HWND hallOfFame = driver::waitFor(kHallOfFame)) {
            EXPECT_EQ("42", driver::text(hallOfFame, 119));
            driver::click(hallOfFame, IDCANCEL);
        }
    });
    EXPECT_EQ("42", stored("Score1"));
    EXPECT_EQ("3", stored("Level1"));
    EXPECT_EQ("default", std::string(buffer));
}

// Missing fields count 0 and are never read from beyond the host's string.
TEST_F(OrvaneScore, MissingFieldsCountZero) {
    for (const char* scoreString : {"default", "default*", "default**", "", "*"}) {
        runScore(scoreString, [scoreString] {
            HWND hallOfFame = driver::waitFor(kHallOfFame);
            EXPECT_EQ(nullptr, driver::find(kNameEntry)) << scoreString;
            if (!hallOfFame) return;
            EXPECT_EQ("0", driver::text(hallOfFame, 119)) << scoreString;
            driver::click(hallOfFame, IDCANCEL);
        });
    }
    runScore("default**5", [] {
        enterName("SKIP");
        if (HWND hallOfFame = driver::waitFor(kHallOfFame)) driver::click(hallOfFame, IDCANCEL);
    });
    EXPECT_EQ("5", stored("Score1"));
    EXPECT_EQ("0", stored("Level1"));
    ScriptedRun closeIt([] {
        if (HWND h = driver::waitFor(kHallOfFame)) driver::click(h, IDCANCEL);
    });
    EXPECT_EQ(0, plugin.score(nullptr, 0));
}

TEST_F(OrvaneScore, EveryFontAndBitmapMadeIsDeleted) {
    GdiTracker gdi(plugin.module);
    ASSERT_TRUE(gdi.installed());
    reg::setDword(kWorld, "NoShowOrvaneInfoDlg", 0);

    char start[16];
    {
        ScriptedRun driverThread([] {
            if (HWND notice = driver::waitFor("Orvane Info")) driver::click(notice, IDOK);
            if (HWND dialog = driver::waitFor("Orvane Start Game Dialog")) driver::click(dialog, 102);
        });
        EXPECT_TRUE(plugin.start(start, 0));
    }
    EXPECT_EQ(1, gdi.made);
    runScore("default*700*2", [] {
        enterName("ACE");
        if (HWND hallOfFame = driver::waitFor(kHallOfFame)) driver::click(hallOfFame, 1000);
    });
    EXPECT_EQ(3, gdi.made);
    EXPECT_TRUE(gdi.alive.empty());
    EXPECT_EQ(0, gdi.strayDeletes) << "deleted something it did not make, or twice";
}
