// What the host relies on when it loads a plug-in: exports and ordinals, and dialogs that keep
// the host disabled. (What the DLL imports is checked in the built file, by check_deliverable.sh.)
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "Autopilot.h"
#include "CallLedger.h"
#include "DialogDriver.h"
#include "EntryRuns.h"
#include "Games.h"
#include "Installation.h"
#include "Plugin.h"
#include "RegistrySandbox.h"
#include "StoredTables.h"

// Every game, played in a world whose notice was already dismissed.
class EveryGame : public ::testing::TestWithParam<const Game*> {
protected:
    EveryGame() { reg::setDword("dZORV_Every", "NoShowOrvaneInfoDlg", 1); }
    const Game& game = *GetParam();
    Installation world{"dZORV_Every"};
    Plugin plugin{game.dll};
};

TEST_P(EveryGame, ExportsResolveByNameAndOrdinal) {
    ASSERT_NE(plugin.module, nullptr);
    // Taken by ordinal, as the host takes them.
    EXPECT_EQ(plugin.score, exportOf<ScoreEntryPoint>(plugin.module, "fnGameScoreDlgzorv"));
    EXPECT_EQ(plugin.start, exportOf<StartEntryPoint>(plugin.module, "fnGameStartDlgzorv"));
    EXPECT_EQ(plugin.stop, exportOf<StopEntryPoint>(plugin.module, "fnGameStopDlgzorv"));
    EXPECT_NE(plugin.score, nullptr);
    EXPECT_NE(plugin.start, nullptr);
    EXPECT_NE(plugin.stop, nullptr);
    EXPECT_EQ(GetProcAddress(plugin.module, "fnGameStartDlgzorv@8"), nullptr);
    EXPECT_EQ(GetProcAddress(plugin.module, "_fnGameStartDlgzorv@8"), nullptr);
}

// Cancel, Escape, the close box, and Enter with the focus off the push buttons (on the hint, which
// ends the dialog through OK) start nothing and leave the host's buffer alone; a null buffer is
// never written.
TEST_P(EveryGame, StartWithoutAChoiceLeavesTheBufferAlone) {
    const Script endings[] = {clicks({IDCANCEL}), driver::pressEscape, driver::closeBox, [](HWND dialog) {
                                  HWND hint = GetWindow(driver::item(dialog, IDCANCEL), GW_HWNDNEXT);
                                  PostMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(hint), TRUE);
                                  driver::pressEnter(dialog);
                              }};
    for (const Script& ending : endings) {
        const StartRun run = runStart(plugin, game.start.caption, ending);
        EXPECT_TRUE(!run.result && untouched(run)) << "ending " << &ending - endings;
    }
    Autopilot pilot;
    pilot.customLevels = false;
    EXPECT_EQ(0, pilot.fly([this] { return plugin.start(nullptr, 0); }).result);
}

struct RecordingDialogBox : LedgerView {
    using LedgerView::LedgerView;
    INT_PTR dialogBox(HINSTANCE instance, LPCSTR name, HWND owner, DLGPROC proc, LPARAM param) override {
        seen = instance;
        return LedgerView::dialogBox(instance, name, owner, proc, param);
    }
    HINSTANCE seen = nullptr;
};

// The template lives in the plug-in, not in the host: the entry point must switch modules.
TEST_P(EveryGame, DialogsComeFromThePluginsOwnResources) {
    EXPECT_EQ(-1,
              DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(game.start.templateId), nullptr, nullptr, 0));
    const DWORD error = GetLastError();
    EXPECT_TRUE(error == ERROR_RESOURCE_NAME_NOT_FOUND || error == ERROR_RESOURCE_DATA_NOT_FOUND) << error;

    RecordingDialogBox hook(plugin.module);
    ASSERT_TRUE(hook.hooked(Api::DialogBoxParamA));
    runStart(plugin, game.start.caption, clicks({IDCANCEL}));
    EXPECT_EQ(reinterpret_cast<HINSTANCE>(plugin.module), hook.seen);
}

// Replay asks for another game; Close, Escape, the close box and Enter on Close, which has the
// focus, do not.
TEST_P(EveryGame, OnlyReplayAsksForAnotherGame) {
    const std::pair<Script, int> endings[] = {{clicks({game.hallOfFame.other}), 1},
                                              {clicks({IDCANCEL}), 0},
                                              {driver::pressEscape, 0},
                                              {driver::closeBox, 0},
                                              {driver::pressEnter, 0}};
    for (const auto& [ending, result] : endings) {
        EXPECT_EQ(result, runScore(plugin, "mode*0*1", [this, ending = ending] {
                              if (HWND dialog = driver::waitFor(game.hallOfFame.caption)) {
                                  EXPECT_EQ(driver::item(dialog, IDCANCEL), driver::focus(dialog));
                                  ending(dialog);
                              }
                          }).result);
    }
}

// Missing fields count 0 and are never read from beyond the host's string; empty fields are
// skipped, so in "m**5" the 5 is the score and the level is missing.
TEST_P(EveryGame, MissingScoreFieldsCountZero) {
    auto closedShowingZero = [this](const char* scoreString) {
        return [this, scoreString] {
            HWND hallOfFame = driver::waitFor(game.hallOfFame.caption);
            EXPECT_EQ(nullptr, driver::find(game.nameEntry.caption)) << scoreString;
            if (!hallOfFame) return;
            EXPECT_EQ("0", driver::text(hallOfFame, IDC_SCORE)) << scoreString;
            driver::click(hallOfFame, IDCANCEL);
        };
    };
    for (const char* scoreString : {"m", "m*", "m**", "", "*"})
        EXPECT_EQ(0, runScore(plugin, scoreString, closedShowingZero(scoreString)).result);
    runScore(plugin, "m**5", [this] {
        enterName(game.nameEntry.caption, "SKIP");
        if (HWND hallOfFame = driver::waitFor(game.hallOfFame.caption)) driver::click(hallOfFame, IDCANCEL);
    });
    EXPECT_EQ((StoredEntry{"SKIP", "0", "5"}), storedTable("dZORV_Every", game.name, "m")[0]);
    ScriptedRun closeIt(closedShowingZero("(null)"));
    EXPECT_EQ(0, plugin.score(nullptr, 0));
}

INSTANTIATE_TEST_SUITE_P(Listed, EveryGame, ::testing::ValuesIn(kGames),
                         [](const ::testing::TestParamInfo<const Game*>& info) { return info.param->name; });

namespace {
// The player's other program: a window of another thread that is brought to the front, so that
// this thread has no active window left and the host's window stays behind.
class OtherProgram {
public:
    OtherProgram() {
        thread_ = std::thread([this] {
            window_ = CreateWindowExA(0, "STATIC", "other program", WS_OVERLAPPEDWINDOW, 200, 200, 100, 100, nullptr,
                                      nullptr, nullptr, nullptr);
            ShowWindow(window_, SW_SHOW);
            ready_ = true;
            MSG message;
            while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
            DestroyWindow(window_);
        });
        while (!ready_) Sleep(10);
    }
    ~OtherProgram() {
        PostThreadMessageA(GetWindowThreadProcessId(window_, nullptr), WM_QUIT, 0, 0);
        thread_.join();
    }
    OtherProgram(const OtherProgram&) = delete;
    OtherProgram& operator=(const OtherProgram&) = delete;

    // True when this thread then has no active window.
    bool toFront() const {
        SetForegroundWindow(window_);
        for (DWORD start = GetTickCount(); GetTickCount() - start < 5000; Sleep(10)) {
            MSG message;
            while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
            if (!GetActiveWindow() && GetForegroundWindow() == window_) return true;
        }
        return false;
    }

private:
    std::thread thread_;
    std::atomic<bool> ready_{false};
    HWND window_ = nullptr;
};

// A banner or a picture button's image: where it sits, as parts of its dialog's client width.
struct Picture {
    double left, width;
};
// Each dialog's pictures at 96 dpi, in the dialog's own order. At any dpi each keeps its place,
// within 5% in width and 2% of the dialog's width in place.
const std::map<std::string, std::vector<Picture>> kPictures = {
    {kOrvane.start.caption, {{0.150, 0.706}, {0.026, 0.815}}},
    {kOrvane.hallOfFame.caption, {{0.026, 0.815}, {0.088, 0.706}}},
    {kQuibbix.start.caption, {{0.150, 0.706}, {0.150, 0.706}, {0.026, 0.815}}},
    {kQuibbix.hallOfFame.caption, {{0.026, 0.815}, {0.088, 0.706}, {0.088, 0.706}}},
};

struct Seen {
    std::string caption;
    HWND owner, expectedOwner;
    bool hostUsable;
    std::vector<Picture> pictures;
    bool withinWorkArea;
};

std::vector<Picture> picturesOf(HWND dialog) {
    RECT client;
    GetClientRect(dialog, &client);
    std::vector<Picture> pictures;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        HANDLE image = driver::image(child);
        BITMAP bitmap;
        if (!image || GetObjectA(image, sizeof bitmap, &bitmap) != sizeof bitmap) continue;
        RECT place = driver::rect(child);  // a button centres its image
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&place), 2);
        const double left = place.left + (place.right - place.left - bitmap.bmWidth) / 2.0;
        pictures.push_back({left / client.right, double(bitmap.bmWidth) / client.right});
    }
    return pictures;
}

bool withinWorkArea(HWND window) {
    RECT frame = driver::rect(window), work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    return frame.left >= work.left && frame.top >= work.top && frame.right <= work.right && frame.bottom <= work.bottom;
}

// A shown and enabled window of the host's thread, other than the dialog.
bool hostUsable(HWND host, HWND dialog) {
    const DWORD thread = GetWindowThreadProcessId(host, nullptr);
    for (HWND window : driver::windowsOfProcess())
        if (window != dialog && GetWindowThreadProcessId(window, nullptr) == thread && IsWindowVisible(window) &&
            IsWindowEnabled(window))
            return true;
    return false;
}

// Waits for the dialog and notes who owns it, whom it should be owned by, and whether the host can
// be used meanwhile. Unless another dialog is named, the host (its window or the popup of its own
// that stands for it) should own it.
HWND note(std::vector<Seen>& seen, HWND host, const char* caption, const char* ownerCaption = nullptr) {
    HWND dialog = driver::waitFor(caption);
    if (!dialog) return nullptr;
    seen.push_back({caption, GetWindow(dialog, GW_OWNER), ownerCaption ? driver::find(ownerCaption) : host,
                    hostUsable(host, dialog), picturesOf(dialog), withinWorkArea(dialog)});
    return dialog;
}

// The entry point opens outer, and inner over it: from outer's initialisation, so inner shows
// first, or behind outer's button. A score flow plays this mode.
struct Flow {
    const Game& game;
    std::function<int(Plugin&)> call;
    const GameDialog& outer;
    const GameDialog& inner;
    bool innerFirst;
    const char* mode;
};

std::vector<Flow> gameFlows(char (&buffer)[300]) {
    auto start = [&buffer](Plugin& p) { return p.start(buffer, 0) ? 1 : 0; };
    auto score = [&buffer](const char* text) {
        return [&buffer, text](Plugin& p) { return p.score(strcpy(buffer, text), 0); };
    };
    return {
        {kOrvane, start, kOrvane.start, kOrvane.notice, true, nullptr},
        {kOrvane, score("default*1500*3"), kOrvane.hallOfFame, kOrvane.nameEntry, true, "default"},
        {kQuibbix, start, kQuibbix.start, kQuibbix.customLevels, false, nullptr},
        {kQuibbix, score("random*1500*3"), kQuibbix.hallOfFame, kQuibbix.nameEntry, true, "random"},
    };
}

struct FlowRun {
    std::vector<Seen> seen;
    int result;
};

// Runs the flow, its dialogs answered as they show, until the one given: the host is told to quit
// there instead.
FlowRun runFlow(const Flow& flow, HWND host, const GameDialog* quitAt = nullptr) {
    FlowRun run;
    Plugin plugin(flow.game.dll);
    CallLedger ledger(plugin.module);
    {
        ScriptedRun driverThread([&run, host, &flow, quitAt] {
            auto answer = [&](const GameDialog& shown, const char* owner) {
                HWND dialog = note(run.seen, host, shown.caption, owner);
                if (!dialog || &shown != quitAt) return dialog && driver::press(dialog, shown.button);
                // Nothing else is sent until every dialog has gone, or it would end them first.
                PostThreadMessageA(GetWindowThreadProcessId(host, nullptr), WM_QUIT, 0, 0);
                for (DWORD start = GetTickCount(); dialogWindowsLeft() && GetTickCount() - start < 8000;) Sleep(10);
                return false;
            };
            if (flow.innerFirst && answer(flow.inner, flow.outer.caption)) answer(flow.outer, nullptr);
            if (!flow.innerFirst && answer(flow.outer, nullptr)) answer(flow.inner, flow.outer.caption);
        });
        run.result = flow.call(plugin);
    }
    EXPECT_TRUE(ledger.holdings().none()) << ledger.holdings().describe();  // what the dialogs made is deleted
    return run;
}
}  // namespace

// A dialog without a parent is owned by the host's window even while another program is in
// front, so the host cannot be used while it is up; nested ones sit over the dialog they come from.
// A palette of the host's that was used last owns it instead, or a second window of the host's; the
// host's other windows are disabled too. Each dialog lies within the work area, its pictures where
// they are at 96 dpi, and what it made is deleted; run at 120, 144, 168 and 192 dpi too.
TEST(DialogOwner, EveryDialogDisablesTheHostKeepsItsPicturesInPlaceAndLeavesNothing) {
    Installation inst("dZORV_Owner");
    inst.addFolder("games\\quibbix");
    HWND window =
        CreateWindowExA(0, "STATIC", "host", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr, nullptr, nullptr);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    OtherProgram other;
    char buffer[300];
    HWND host = window;
    for (int round = 0; round < 3; ++round) {
        if (round == 1) {
            host = CreateWindowExA(WS_EX_TOOLWINDOW, "STATIC", "palette", WS_POPUP | WS_CAPTION | WS_VISIBLE, 310, 0,
                                   100, 200, window, nullptr, nullptr, nullptr);
            SetActiveWindow(host);
        }
        if (round == 2) {
            DestroyWindow(host);
            host = CreateWindowExA(0, "STATIC", "scene", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200, nullptr,
                                   nullptr, nullptr, nullptr);
        }
        reg::remove("dZORV_Owner", "NoShowOrvaneInfoDlg");
        for (const Flow& flow : gameFlows(buffer)) {
            SCOPED_TRACE(std::string(flow.game.dll) + ", round " + std::to_string(round));
            SetWindowPos(host, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            ASSERT_EQ(host, driver::windowsOfProcess().front());
            ASSERT_TRUE(other.toFront());
            const FlowRun run = runFlow(flow, host);
            EXPECT_EQ(2u, run.seen.size());
            for (const Seen& s : run.seen) {
                EXPECT_NE(nullptr, s.expectedOwner) << s.caption;
                EXPECT_EQ(s.expectedOwner, s.owner) << s.caption;
                EXPECT_FALSE(s.hostUsable) << s.caption;
                EXPECT_TRUE(s.withinWorkArea) << s.caption;
                const auto expected = kPictures.find(s.caption);
                ASSERT_EQ(expected == kPictures.end() ? 0 : expected->second.size(), s.pictures.size()) << s.caption;
                for (size_t i = 0; i < s.pictures.size(); ++i) {
                    EXPECT_NEAR(expected->second[i].width, s.pictures[i].width, 0.05 * expected->second[i].width)
                        << s.caption << ", picture " << i;
                    EXPECT_NEAR(expected->second[i].left, s.pictures[i].left, 0.02) << s.caption << ", picture " << i;
                }
            }
            EXPECT_TRUE(IsWindowEnabled(window) && IsWindowEnabled(host));
        }
    }
    DestroyWindow(host);
    DestroyWindow(window);
}

// A quit message, as the host's thread gets when its window is destroyed, ends whichever dialog
// runs: nothing is started or replayed, the message stays for the host, and every window is
// enabled again. A result whose name was being asked for is recorded, as after Cancel.
TEST(DialogOwner, AQuitMessageEndsEveryDialogWithNoChoice) {
    Installation inst("dZORV_Owner");
    inst.addFolder("games\\quibbix");
    HWND host = CreateWindowExA(0, "STATIC", "host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr,
                                nullptr, nullptr);
    char buffer[300];
    for (const Flow& flow : gameFlows(buffer)) {
        for (const GameDialog* quitAt : {&flow.inner, &flow.outer}) {
            SCOPED_TRACE(quitAt->caption);
            reg::remove("dZORV_Owner", "NoShowOrvaneInfoDlg");
            memset(buffer, 0xbd, sizeof buffer);
            const FlowRun run = runFlow(flow, host, quitAt);
            MSG quit;
            EXPECT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
            EXPECT_EQ(0, run.result);
            EXPECT_TRUE(flow.mode || untouched(buffer, 0, sizeof buffer));
            if (flow.mode && quitAt == &flow.inner) {
                EXPECT_EQ((StoredEntry{"", "3", "1500"}), storedTable("dZORV_Owner", flow.game.name, flow.mode)[0]);
            }
            EXPECT_TRUE(IsWindowEnabled(host));
            EXPECT_EQ(0, dialogWindowsLeft());
        }
    }
    DestroyWindow(host);
}

// A host with two user-interface threads, each with a window, calls Quibbix's start from both. Each
// dialog sits on its own thread's window and disables that alone; the first to return leaves the
// other whole, down to the custom levels behind it, and a next call shows its dialog.
TEST(DialogOwner, TwoThreadsEachKeepTheirOwnDialogs) {
    Installation inst("dZORV_Owner");
    Plugin quibbix(kQuibbix.dll);
    const char* const start = kQuibbix.start.caption;
    auto hostWindow = [] {
        return CreateWindowExA(0, "STATIC", "host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr,
                               nullptr, nullptr);
    };
    std::atomic<HWND> windowA{nullptr};
    std::thread a([&] {
        char buffer[300];
        windowA = hostWindow();
        EXPECT_FALSE(quibbix.start(buffer, 0));
        EXPECT_TRUE(IsWindowEnabled(windowA));
        DestroyWindow(windowA);
    });
    while (!windowA) Sleep(1);
    HWND dialogA = driver::waitOn(GetWindowThreadProcessId(windowA, nullptr), start);
    HWND windowB = hostWindow();
    const StartRun run = runStart(quibbix, start, [&](HWND dialogB) {
        EXPECT_EQ(windowA, GetWindow(dialogA, GW_OWNER));
        EXPECT_EQ(windowB, GetWindow(dialogB, GW_OWNER));
        EXPECT_TRUE(IsWindowEnabled(dialogA) && !IsWindowEnabled(windowA) && !IsWindowEnabled(windowB));
        driver::cancel(dialogA);
        driver::waitGone(windowA);                      // destroyed as start returns
        driver::click(dialogB, kQuibbix.start.button);  // User
        if (HWND levels = driver::waitFor(kQuibbix.customLevels.caption)) driver::click(levels, IDOK);
    });
    a.join();
    EXPECT_START_STRING("user*Vellomy*0", run);
    EXPECT_TRUE(IsWindowEnabled(windowB));
    EXPECT_START_STRING("random*0", runStart(quibbix, start, clicks({kQuibbix.start.other})));
    DestroyWindow(windowB);
}
