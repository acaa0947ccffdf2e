// What the host relies on when it loads a plug-in: exports and ordinals, and dialogs that keep
// the host disabled. (What the DLL imports is checked in the built file, by check_deliverable.sh.)
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "CallLedger.h"
#include "DialogDriver.h"
#include "GameDialogs.h"
#include "Installation.h"
#include "Plugin.h"

using PluginContract = ::testing::TestWithParam<const char*>;

TEST_P(PluginContract, ExportsResolveByNameAndOrdinal) {
    Plugin plugin(GetParam());
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

INSTANTIATE_TEST_SUITE_P(BothPlugins, PluginContract, ::testing::Values("orvane.dll", "quibbix.dll"));

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
    bool hostEnabled;
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

// Waits for the dialog and notes who owns it, whom it should be owned by, and whether the host is
// enabled meanwhile: its window, or the popup of its own that stands for it. Unless another dialog
// is named, that popup (else the host's window) should own it.
HWND note(std::vector<Seen>& seen, HWND host, const char* caption, const char* ownerCaption = nullptr) {
    HWND dialog = driver::waitFor(caption);
    if (!dialog) return nullptr;
    seen.push_back({caption, GetWindow(dialog, GW_OWNER), ownerCaption ? driver::find(ownerCaption) : host,
                    IsWindowEnabled(host) || IsWindowEnabled(GetAncestor(host, GA_ROOTOWNER)), picturesOf(dialog),
                    withinWorkArea(dialog)});
    return dialog;
}

// The entry point opens outer, and inner over it: from outer's initialisation, so inner shows
// first, or behind outer's button.
struct Flow {
    const Game& game;
    std::function<void(Plugin&)> call;
    const GameDialog& outer;
    const GameDialog& inner;
    bool innerFirst;
};
}  // namespace

// A dialog without a parent is owned by the host's window even while another program is in
// front, so the host cannot be used while it is up; nested ones sit over the dialog they come from.
// A palette of the host's that was used last owns it instead, and the host's window is disabled too.
// Each dialog lies within the work area, its pictures where they are at 96 dpi, and what it made
// is deleted; run at 144 dpi too, by tests/support/at-dpi.sh.
TEST(DialogOwner, EveryDialogDisablesTheHostWindowWhoeverIsInFront) {
    Installation inst("dZORV_Owner");
    inst.addFolder("games\\quibbix");
    HWND window =
        CreateWindowExA(0, "STATIC", "host", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr, nullptr, nullptr);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    OtherProgram other;

    char buffer[300];
    auto start = [&buffer](Plugin& p) { p.start(buffer, 0); };
    auto score = [&buffer](const char* text) {
        return [&buffer, text](Plugin& p) { p.score(strcpy(buffer, text), 0); };
    };
    const Flow flows[] = {
        {kOrvane, start, kOrvane.start, kOrvane.notice, true},
        {kOrvane, score("default*1500*3"), kOrvane.hallOfFame, kOrvane.nameEntry, true},
        {kQuibbix, start, kQuibbix.start, kQuibbix.customLevels, false},
        {kQuibbix, score("random*1500*3"), kQuibbix.hallOfFame, kQuibbix.nameEntry, true},
    };
    HWND host = window;
    for (int round = 0; round < 2; ++round) {
        if (round == 1) {
            host = CreateWindowExA(WS_EX_TOOLWINDOW, "STATIC", "palette", WS_POPUP | WS_CAPTION | WS_VISIBLE, 310, 0,
                                   100, 200, window, nullptr, nullptr, nullptr);
            SetActiveWindow(host);
            reg::remove("dZORV_Owner", "NoShowOrvaneInfoDlg");
        }
        for (const Flow& flow : flows) {
            Plugin plugin(flow.game.dll);
            CallLedger ledger(plugin.module);
            SetWindowPos(host, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            ASSERT_EQ(host, driver::windowsOfProcess().front());
            ASSERT_TRUE(other.toFront());
            std::vector<Seen> seen;
            {
                ScriptedRun driverThread([&seen, host, &flow] {
                    auto answer = [&](const GameDialog& shown, const char* owner) {
                        if (HWND dialog = note(seen, host, shown.caption, owner)) driver::click(dialog, shown.button);
                    };
                    if (flow.innerFirst) answer(flow.inner, flow.outer.caption);
                    answer(flow.outer, nullptr);
                    if (!flow.innerFirst) answer(flow.inner, flow.outer.caption);
                });
                flow.call(plugin);
            }
            EXPECT_EQ(2u, seen.size()) << flow.game.dll;
            for (const Seen& s : seen) {
                EXPECT_NE(nullptr, s.expectedOwner) << s.caption;
                EXPECT_EQ(s.expectedOwner, s.owner) << s.caption;
                EXPECT_FALSE(s.hostEnabled) << s.caption;
                EXPECT_TRUE(s.withinWorkArea) << s.caption;
                const auto expected = kPictures.find(s.caption);
                ASSERT_EQ(expected == kPictures.end() ? 0 : expected->second.size(), s.pictures.size()) << s.caption;
                for (size_t i = 0; i < s.pictures.size(); ++i) {
                    EXPECT_NEAR(expected->second[i].width, s.pictures[i].width, 0.05 * expected->second[i].width)
                        << s.caption << ", picture " << i;
                    EXPECT_NEAR(expected->second[i].left, s.pictures[i].left, 0.02) << s.caption << ", picture " << i;
                }
            }
            EXPECT_TRUE(ledger.holdings().none()) << flow.game.dll << ": " << ledger.holdings().describe();
            EXPECT_TRUE(IsWindowEnabled(window) && IsWindowEnabled(host)) << flow.game.dll;
        }
    }
    DestroyWindow(host);
    DestroyWindow(window);
}
