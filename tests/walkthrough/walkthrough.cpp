// Both games played by script in the host's own game loop, in a fresh sample installation,
// every step checked; with a folder given, a picture of every dialog goes there.
//
//   walkthrough [PICTURES] [gtest options]
//
// The host runs on the test thread, inside the plug-ins' modal loops; the script runs on the
// dialog driver's thread and acts only by posting or with time-limited sends.
#include <gtest/gtest.h>
#include <gtest/gtest-spi.h>

#include <windows.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "DialogDriver.h"
#include "Games.h"
#include "GameWindow.h"
#include "HallOfFameIds.h"
#include "Installation.h"
#include "Journal.h"
#include "PluginContract.h"
#include "RegistrySandbox.h"
#include "Sample.h"
#include "Screenshot.h"
#include "quibbix/resource.h"

namespace {
// Control ids of the plug-ins' dialogs beside the hall of fame's, which both share.
const int kFreeplay = kOrvane.start.button, kOrvaneReplay = kOrvane.hallOfFame.other;
const int kQuibbixReplay = kQuibbix.hallOfFame.other, kNoticeBox = kOrvane.notice.other;
const int kUser = kQuibbix.start.button, kSlow = IDC_SLOW, kNormal = IDC_NORMAL;
const int kFolderList = kQuibbix.customLevels.other, kBaseFolder = IDC_BASE_FOLDER;

const int kDialogTimeoutMs = 10000;

const char* picturesFolder = nullptr;

// Name, level and score of one rank; null where the value must be missing.
using Row = std::array<const char*, 3>;

DWORD noticeFlag(const char* world) {
    const reg::Value value = reg::get(world, "NoShowOrvaneInfoDlg");
    DWORD flag = 0;
    if (value.exists && value.type == REG_DWORD && value.data.size() == sizeof flag)
        memcpy(&flag, value.data.data(), sizeof flag);
    return flag;
}

void expectStored(const char* world, const char* game, const char* mode, const Row rows[3]) {
    for (int rank = 0; rank < 3; ++rank) {
        const Row& cells = rows[rank];
        for (int field = 0; field < 3; ++field) {
            const std::string name = scoreValueName<std::string>(game, mode, field, rank);
            const reg::Value value = reg::get(world, name.c_str());
            if (!cells[field]) {
                EXPECT_FALSE(value.exists) << world << "\\" << name << " should not be stored, holds \""
                                           << reg::text(world, name.c_str()) << "\"";
                continue;
            }
            EXPECT_TRUE(value.exists) << world << "\\" << name << " should hold \"" << cells[field] << "\"";
            EXPECT_EQ(static_cast<DWORD>(REG_SZ), value.type) << world << "\\" << name;
            EXPECT_EQ(cells[field], reg::text(world, name.c_str())) << world << "\\" << name;
        }
    }
}

// A table of the current world as the hall of fame shows it and as it is stored.
void expectTable(HWND fame, int firstId, const char* game, const char* mode, const Row rows[3]) {
    for (int cell = 0; cell < 9; ++cell)
        EXPECT_EQ(rows[cell / 3][cell % 3] ? rows[cell / 3][cell % 3] : "", driver::text(fame, firstId + cell))
            << game << " " << mode << " table, rank " << cell / 3 + 1 << ", column " << cell % 3 + 1;
    expectStored(kSampleWorld, game, mode, rows);
}

void step(const char* what) {
    printf("-- %s\n", what);
    fflush(stdout);
}

class Script {
public:
    Script(Journal& journal, const std::string& sampleDir) : journal_(journal), sampleDir_(sampleDir) {}

    void run() {
        if (playOrvane() && playQuibbix())
            checkOtherWorld();
        else
            closeHost();  // the driver cancels the dialogs; the host leaves once they are closed
    }

private:
    // The window once it shows and has painted, so that what is read and pictured is final.
    HWND await(const char* caption, const char* instead = nullptr, int timeoutMs = kDialogTimeoutMs) {
        HWND window = driver::waitFor(caption, instead, timeoutMs);
        if (!window) return nullptr;
        Sleep(300);
        SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_BLOCK, 5000, nullptr);
        return window;
    }

    void picture(HWND window, const char* name) {
        if (!picturesFolder) return;
        char path[MAX_PATH];
        snprintf(path, sizeof path, "%s\\%02i-%s.bmp", picturesFolder, ++pictures_, name);
        EXPECT_TRUE(saveWindowPicture(window, path)) << "could not save the picture " << path;
    }

    // The journal's next entry, which must be this one.
    bool expectEvent(HostEvent::Kind kind, const std::string& text, int result) {
        HostEvent event;
        if (!journal_.waitFor(nextEvent_, kDialogTimeoutMs, event)) {
            ADD_FAILURE() << "the host did not go on (waiting for entry " << nextEvent_ + 1 << " of its journal)";
            return false;
        }
        ++nextEvent_;
        if (event.kind == kind && event.text == text && event.result == result) return true;
        const HostEvent expected = {kind, event.game, text, result};
        ADD_FAILURE() << "expected <" << describe(expected) << ">, got <" << describe(event) << ">";
        return false;
    }

    // Typed as a player would, and there before anything goes on.
    void typeInto(HWND field, const char* text) {
        driver::type(field, text);
        for (DWORD start = GetTickCount(); driver::text(field) != text && GetTickCount() - start < 3000;) Sleep(20);
        EXPECT_EQ(text, driver::text(field)) << "typed text";
    }

    void enterResult(const char* score, const char* level) {
        typeInto(driver::item(main_, kScoreEdit), score);
        typeInto(driver::item(main_, kLevelEdit), level);
    }

    // Through the keyboard, with the main window in front, so that the host's accelerator and
    // default button see them; the keys go down in order and come up in reverse.
    void pressKeys(WORD first, WORD second = 0) {
        SetForegroundWindow(main_);
        for (DWORD start = GetTickCount(); GetForegroundWindow() != main_ && GetTickCount() - start < 2000;) Sleep(20);
        const WORD codes[4] = {first, second, second, first};
        std::vector<INPUT> keys;
        for (int i = 0; i < 4; ++i) {
            INPUT key = {};
            key.type = INPUT_KEYBOARD;
            key.ki.wVk = codes[i];
            key.ki.dwFlags = i < 2 ? 0 : KEYEVENTF_KEYUP;
            if (codes[i]) keys.push_back(key);
        }
        SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT));
    }

    // The name entry that a qualifying score opens before the hall of fame: the score checked,
    // the player's name typed, OK.
    bool enterName(const Game& game, const std::string& score, const char* player, const char* pictureName = nullptr,
                   int timeoutMs = kDialogTimeoutMs) {
        HWND name = await(game.nameEntry.caption, game.hallOfFame.caption, timeoutMs);
        if (!name) return false;
        EXPECT_EQ(score, driver::text(name, IDC_SCORE)) << "score in the name entry";
        typeInto(driver::item(name, IDC_PLAYER_NAME), player);
        if (pictureName) picture(name, pictureName);
        driver::click(name, IDOK);
        return true;
    }

    // The hall of fame, with the round's score as "Your Score".
    HWND awaitHallOfFame(const Game& game, const std::string& score, const char* instead = nullptr) {
        HWND fame = await(game.hallOfFame.caption, instead);
        if (!fame) return nullptr;
        EXPECT_EQ(score, driver::text(fame, IDC_SCORE)) << "\"Your Score\"";
        return fame;
    }

    void closeHost() {
        for (HWND window : driver::windowsOfProcess()) {
            char className[64] = {};
            GetClassNameA(window, className, sizeof className);
            if (strcmp(className, kMainWindowClass) == 0) PostMessageA(window, WM_CLOSE, 0, 0);
        }
    }

    bool playOrvane() {
        step("Orvane: the host's main window, moved to where every run has it");
        main_ = driver::waitFor("Orvane - Zorv", kDialogTimeoutMs);
        if (!main_) return false;
        SetWindowPos(main_, nullptr, 24, 24, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

        step("Orvane: the slow-system notice comes first, alone");
        HWND notice = await(kOrvane.notice.caption, kOrvane.start.caption);
        if (!notice) return false;
        EXPECT_EQ(1u, noticeFlag(kSampleWorld)) << "NoShowOrvaneInfoDlg while the notice is open";
        EXPECT_TRUE(driver::checked(notice, kNoticeBox)) << "the notice's box";
        picture(notice, "orvane-notice");
        driver::click(notice, IDOK);

        step("Orvane: start dialog, Freeplay");
        HWND start = await(kOrvane.start.caption);
        if (!start) return false;
        picture(start, "orvane-start");
        driver::click(start, kFreeplay);
        if (!expectEvent(HostEvent::kStart, "default", 1) || !expectEvent(HostEvent::kRound, "default", 1))
            return false;
        EXPECT_EQ("default", driver::text(main_, kStartStringText)) << "start string shown by the host";
        Sleep(200);
        picture(main_, "orvane-round");

        step("Orvane: Ctrl-S, the quit question over the host window, answered No");
        pressKeys(VK_CONTROL, 'S');
        HWND box = await("Quit Orvane?");
        if (!box) return false;
        EXPECT_EQ(main_, GetWindow(box, GW_OWNER)) << "the quit question's owner";
        EXPECT_FALSE(IsWindowEnabled(main_)) << "the host window under the quit question";
        picture(box, "orvane-quit");
        driver::click(box, IDNO);
        if (!expectEvent(HostEvent::kStop, "", 0)) return false;

        step("Orvane: a qualifying score, 5000 at level 4, and the name ACE");
        enterResult("5000", "4");
        driver::click(main_, kFinishButton);
        if (!enterName(kOrvane, "5000", "ACE", "orvane-name-entry")) return false;

        step("Orvane: the hall of fame, then Replay");
        const Row afterFirst[3] = {{"NOVA", "6", "9000"}, {"ACE", "4", "5000"}, {"ZED", "2", "1200"}};
        HWND fame = awaitHallOfFame(kOrvane, "5000");
        if (!fame) return false;
        expectTable(fame, IDC_TABLE1_NAME1, "Orvane", "default", afterFirst);
        picture(fame, "orvane-hall-of-fame");
        driver::click(fame, kOrvaneReplay);
        if (!expectEvent(HostEvent::kScore, "default*5000*4", 1)) return false;

        step("Orvane: Replay went straight to a second round; 800 at level 1 and Enter, which does not qualify");
        if (!expectEvent(HostEvent::kRound, "default", 2)) return false;
        enterResult("800", "1");
        pressKeys(VK_RETURN);
        fame = awaitHallOfFame(kOrvane, "800", kOrvane.nameEntry.caption);
        if (!fame) return false;
        expectTable(fame, IDC_TABLE1_NAME1, "Orvane", "default", afterFirst);
        picture(fame, "orvane-hall-of-fame-again");
        driver::click(fame, IDCANCEL);
        if (!expectEvent(HostEvent::kScore, "default*800*1", 0)) return false;

        step("Orvane: Close led back to the start dialog, without the notice; Cancel");
        start = await(kOrvane.start.caption, kOrvane.notice.caption);
        if (!start) return false;
        driver::click(start, IDCANCEL);
        return expectEvent(HostEvent::kStart, "", 0);
    }

    bool playQuibbix() {
        step("Quibbix: start dialog, Slow, then User");
        HWND start = await(kQuibbix.start.caption);
        if (!start) return false;
        EXPECT_EQ("Quibbix - Zorv", driver::text(main_)) << "main window title";
        EXPECT_TRUE(driver::checked(start, kNormal)) << "Normal preselected";
        driver::click(start, kSlow);
        for (DWORD begin = GetTickCount(); !driver::checked(start, kSlow) && GetTickCount() - begin < 3000;) Sleep(20);
        EXPECT_TRUE(driver::checked(start, kSlow)) << "Slow after the click";
        picture(start, "quibbix-start");
        driver::click(start, kUser);

        step("Quibbix: the custom levels, Neon Grid");
        HWND levels = await(kQuibbix.customLevels.caption);
        if (!levels) return false;
        EXPECT_EQ(sampleDir_ + "\\games\\quibbix\\", driver::text(levels, kBaseFolder)) << "base folder";
        HWND list = driver::item(levels, kFolderList);
        EXPECT_EQ((std::vector<std::string>{"Vellomy", "Brick Garden", "Moon Maze", "Neon Grid"}), driver::items(list))
            << "custom level list";
        EXPECT_TRUE(driver::select(list, kSampleLevelFolders[0])) << kSampleLevelFolders[0];
        Sleep(200);
        picture(levels, "quibbix-custom-levels");
        driver::click(levels, IDOK);
        const char* const startString = "user*Neon Grid*-1";
        if (!expectEvent(HostEvent::kStart, startString, 1) || !expectEvent(HostEvent::kRound, startString, 1))
            return false;

        step("Quibbix: a round of 3325 at level 4, and the name MAX");
        Sleep(200);
        picture(main_, "quibbix-round");
        enterResult("3325", "4");
        driver::click(main_, kFinishButton);
        if (!enterName(kQuibbix, "3325", "MAX", "quibbix-name-entry")) return false;

        step("Quibbix: both tables, the new result in the custom one; Replay");
        const Row randomTable[3] = {{"BOUNCE", "4", "3000"}, {}, {}};
        const Row typed = {"MAX", "4", "3325"};
        const Row afterTyped[3] = {typed, {}, {}};
        HWND fame = awaitHallOfFame(kQuibbix, "3325");
        if (!fame) return false;
        expectTable(fame, IDC_TABLE1_NAME1, "Quibbix", "random", randomTable);
        expectTable(fame, IDC_TABLE2_NAME1, "Quibbix", "user", afterTyped);
        picture(fame, "quibbix-hall-of-fame");
        driver::click(fame, kQuibbixReplay);
        if (!expectEvent(HostEvent::kScore, "user*3325*4", 1)) return false;

        step("Quibbix: Replay went straight to a second round, played by the host; the name JET");
        if (!expectEvent(HostEvent::kRound, startString, 2)) return false;
        driver::click(main_, kPlayButton);
        // The round is over once its result is asked for a name.
        if (!driver::waitFor(kQuibbix.nameEntry.caption, kQuibbix.hallOfFame.caption, 3 * kDialogTimeoutMs))
            return false;
        // Whatever the host played, as it shows it; the journal says what it sent.
        const std::string score = driver::text(main_, kScoreEdit), level = driver::text(main_, kLevelEdit);
        if (!enterName(kQuibbix, score, "JET")) return false;

        step("Quibbix: the host's result in its place in the custom table; Close");
        const Row played = {"JET", level.c_str(), score.c_str()};
        // Only a strictly greater score ranks above a stored one.
        const bool better = atoi(score.c_str()) > 3325;
        const Row afterPlayed[3] = {better ? played : typed, better ? typed : played, {}};
        fame = awaitHallOfFame(kQuibbix, score);
        if (!fame) return false;
        expectTable(fame, IDC_TABLE1_NAME1, "Quibbix", "random", randomTable);
        expectTable(fame, IDC_TABLE2_NAME1, "Quibbix", "user", afterPlayed);
        driver::click(fame, IDCANCEL);
        if (!expectEvent(HostEvent::kScore, "user*" + score + "*" + level, 0)) return false;

        step("Quibbix: back at the start dialog, at Normal again; Cancel");
        start = await(kQuibbix.start.caption);
        if (!start) return false;
        EXPECT_TRUE(driver::checked(start, kNormal)) << "Normal preselected the second time";
        driver::click(start, IDCANCEL);
        return expectEvent(HostEvent::kStart, "", 0);
    }

    void checkOtherWorld() {
        step("The other world is as it was");
        const Row reef[3] = {{"REEF", "3", "2500"}, {}, {}};
        expectStored(kSampleOtherWorld, "Orvane", "default", reef);
        EXPECT_EQ(1u, noticeFlag(kSampleOtherWorld)) << "the other world's notice flag";
    }

    Journal& journal_;
    const std::string sampleDir_;
    HWND main_ = nullptr;
    int nextEvent_ = 0;
    int pictures_ = 0;
};

// Removed before (a broken run may have left it) and after.
struct SampleFolder {
    explicit SampleFolder(const std::string& path) : path(path) { removeTree(path + "\\"); }
    ~SampleFolder() { removeTree(path + "\\"); }
    const std::string path;
};

struct Window {
    explicit Window(const char* caption, DWORD style)
        : handle(CreateWindowExA(0, "STATIC", caption, WS_POPUP | style, 0, 0, 80, 40, nullptr, nullptr, nullptr,
                                 nullptr)) {}
    ~Window() {
        if (handle) DestroyWindow(handle);
    }
    HWND handle;
};
}  // namespace

TEST(Walkthrough, BothGamesInAFreshSampleInstallation) {
    RegistrySandbox registry;  // the host key of this prefix is put back as it was
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    // One name for every run keeps the pictures alike.
    const SampleFolder sample(std::string(temp) + "zorv-walkthrough");
    ASSERT_EQ(SampleSetup::kCreated, setupSample(sample.path.c_str())) << "a sample installation in " << sample.path;
    if (picturesFolder) CreateDirectoryA(picturesFolder, nullptr);
    printf("Walk-through in a fresh sample installation, %s\n", sample.path.c_str());
    fflush(stdout);

    Journal journal;
    Script script(journal, sample.path);
    ScriptedRun run([&script] { script.run(); });
    static const char* const kGames[] = {"orvane", "quibbix"};
    const int hostResult = playGames(kGames, 2, journal);
    run.finish();
    EXPECT_EQ(0, hostResult) << "the host's exit code";
}

// The wait behind the script's "comes first, alone" checks.
TEST(WalkthroughWait, NamesTheWindowThatShowsInsteadAtOnce) {
    const Window awaited("Awaited", 0), instead("Shown instead", WS_VISIBLE);
    ASSERT_TRUE(awaited.handle && instead.handle);
    static HWND found;
    const DWORD start = GetTickCount();
    EXPECT_NONFATAL_FAILURE(found = driver::waitFor("Awaited", "Shown instead", 5000),
                            "\"Shown instead\" showed where \"Awaited\" should have");
    EXPECT_EQ(nullptr, found);
    EXPECT_LT(GetTickCount() - start, 2000u) << "ms: it waited the time out";

    // Hidden, the other one is no reason to fail; the awaited one is taken as soon as it shows,
    // even beside the other.
    ShowWindow(instead.handle, SW_HIDE);
    EXPECT_NONFATAL_FAILURE(found = driver::waitFor("Awaited", "Shown instead", 300), "no visible window \"Awaited\"");
    ShowWindow(instead.handle, SW_SHOWNA);
    ShowWindow(awaited.handle, SW_SHOWNA);
    EXPECT_EQ(awaited.handle, driver::waitFor("Awaited", "Shown instead", 300));
}

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (argc > 2 || (argc == 2 && argv[1][0] == '-')) {
        fprintf(stderr, "usage: walkthrough [PICTURES] [gtest options]\n");
        return 2;
    }
    picturesFolder = argc == 2 ? argv[1] : nullptr;
    const int result = RUN_ALL_TESTS();
    printf(result ? "Walk-through FAILED.\n" : "Walk-through passed.\n");
    return result;
}
