// The quit question each plug-in asks over the host's window.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "CallLedger.h"
#include "DialogDriver.h"
#include "EntryRuns.h"
#include "Games.h"
#include "Plugin.h"
#include "RegistrySandbox.h"

namespace {
struct Texts {
    const Game* game;
    const char* text;
    const char* caption;
};
const Texts kTexts[] = {
    {&kOrvane, "Do you want to quit the current game of Orvane?", "Quit Orvane?"},
    {&kQuibbix, "Do you want to quit the current game of Quibbix?", "Quit Quibbix?"},
};

HWND makeTopLevelWindow() {
    return CreateWindowA("STATIC", "host", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
}

class Quit : public ::testing::TestWithParam<Texts> {
protected:
    // Answers the plug-in's box with the given button, or with none (0) by a quit message to the
    // host's thread, once check has seen it, and returns what the entry point said.
    bool answer(int button, const std::function<void()>& check = nullptr) {
        ScriptedRun driverThread([&, host = GetCurrentThreadId()] {
            if (HWND box = driver::waitFor(t.caption)) {
                if (check) check();
                if (button) driver::click(box, button);
                if (!button) PostThreadMessageA(host, WM_QUIT, 0, 0);
            }
        });
        return plugin.stop();
    }
    BoxCall lastBox() {
        if (!calls.boxes().empty()) return calls.boxes().back();
        ADD_FAILURE() << "no message box was asked for";
        return {reinterpret_cast<HWND>(-1), "", "", 0};
    }

    const Texts& t = GetParam();
    Plugin plugin{t.game->dll};
    CallLedger calls{plugin.module};
};

// Run first, before this process has any top-level window of its own.
TEST_P(Quit, WithoutAnyWindowEveryCallSearchesAndTheBoxHasNoOwner) {
    EXPECT_FALSE(answer(IDNO));
    EXPECT_EQ(nullptr, lastBox().owner);
    EXPECT_TRUE(answer(IDYES));
    EXPECT_EQ(nullptr, lastBox().owner);
    EXPECT_EQ(2, calls.count(Api::EnumWindows));
}

TEST_P(Quit, YesAndNoWithEachGamesOwnTexts) {
    HWND host = makeTopLevelWindow();
    EXPECT_TRUE(answer(IDYES));
    EXPECT_EQ(t.text, lastBox().text);
    EXPECT_EQ(t.caption, lastBox().title);
    EXPECT_EQ(static_cast<UINT>(MB_YESNO | MB_TOPMOST), lastBox().flags);
    EXPECT_FALSE(answer(IDNO));
    // A quit message answers nothing, stays for the host, and leaves the host enabled.
    EXPECT_FALSE(answer(0));
    MSG quit;
    EXPECT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_TRUE(IsWindowEnabled(host));
    DestroyWindow(host);
}

TEST_P(Quit, BoxIsOwnedByTheFirstShownWindowWhichIsThenKept) {
    HWND first = makeTopLevelWindow();
    HWND second = makeTopLevelWindow();
    ShowWindow(first, SW_SHOWNOACTIVATE);
    ShowWindow(second, SW_SHOWNOACTIVATE);
    HWND firstInOrder = driver::windowsOfProcess().front();
    HWND other = firstInOrder == first ? second : first;
    answer(IDNO);
    EXPECT_EQ(firstInOrder, lastBox().owner);
    SetWindowPos(other, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ASSERT_EQ(other, driver::windowsOfProcess().front());
    answer(IDNO);
    EXPECT_EQ(firstInOrder, lastBox().owner);
    EXPECT_EQ(1, calls.count(Api::EnumWindows));
    DestroyWindow(first);
    DestroyWindow(second);
}

TEST_P(Quit, AWindowThatWasDestroyedIsSearchedForAgain) {
    HWND old = makeTopLevelWindow();
    answer(IDNO);
    EXPECT_EQ(old, lastBox().owner);
    DestroyWindow(old);
    HWND recreated = makeTopLevelWindow();
    EXPECT_TRUE(answer(IDYES));
    EXPECT_EQ(recreated, lastBox().owner);
    EXPECT_EQ(2, calls.count(Api::EnumWindows));
    DestroyWindow(recreated);
}

// Tells that the window of one handle, gone from this process, now belongs to another process.
struct ReusedElsewhere : LedgerView {
    using LedgerView::LedgerView;
    DWORD windowThreadProcess(HWND window, LPDWORD processId) override {
        const DWORD thread = LedgerView::windowThreadProcess(window, processId);
        if (window == reused && processId) *processId = GetCurrentProcessId() + 4;
        return thread;
    }
    HWND reused = nullptr;
};

TEST_P(Quit, ACachedHandleNowOfAnotherProcessIsSearchedForAgain) {
    ReusedElsewhere owner(plugin.module);
    ASSERT_TRUE(owner.hooked(Api::GetWindowThreadProcessId));
    HWND old = makeTopLevelWindow();
    answer(IDNO);
    EXPECT_EQ(old, lastBox().owner);

    // The handle still names a window, so only its process tells that it is no longer the host's.
    owner.reused = old;
    HWND host = makeTopLevelWindow();
    EXPECT_TRUE(answer(IDYES));
    EXPECT_EQ(host, lastBox().owner);
    EXPECT_EQ(2, calls.count(Api::EnumWindows));
    owner.reused = nullptr;
    DestroyWindow(host);
    DestroyWindow(old);
}

// Windows gives each thread with windows a hidden one for the input method, owned by the first
// window and so enumerated before it: the box and the dialogs still belong to the host window,
// which is disabled under them. Asked before the host shows its window, the plug-in can only
// take the hidden one, and does so for that call alone.
TEST_P(Quit, TheHiddenWindowOwnedByTheHostIsPassedOver) {
    RegistrySandbox noHost;
    HWND host = makeTopLevelWindow();
    HWND hidden = CreateWindowExA(0, "STATIC", "ime", WS_POPUP, 0, 0, 1, 1, host, nullptr, nullptr, nullptr);
    ASSERT_EQ(hidden, driver::windowsOfProcess().front());
    answer(IDNO);
    EXPECT_EQ(hidden, lastBox().owner);
    ShowWindow(host, SW_SHOWNOACTIVATE);
    EXPECT_FALSE(answer(IDNO, [host] { EXPECT_FALSE(IsWindowEnabled(host)); }));
    EXPECT_EQ(host, lastBox().owner);
    runScore(plugin, "mode*0*1", [&] {
        if (HWND hallOfFame = driver::waitFor(t.game->hallOfFame.caption)) {
            EXPECT_EQ(host, GetWindow(hallOfFame, GW_OWNER));
            EXPECT_FALSE(IsWindowEnabled(host));
            driver::click(hallOfFame, IDCANCEL);
        }
    });
    DestroyWindow(hidden);
    DestroyWindow(host);
}

// What a host's hot key or timer does while a dialog runs: these plug-ins are asked to quit in turn,
// each while the box of the one before is up.
std::vector<Plugin*> asking;
std::atomic<int> answers[2];  // in the order asked
size_t asked = 0;
void CALLBACK askToQuit(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    if (asked == asking.size()) return;
    const size_t i = asked++;
    SetTimer(nullptr, 0, 0, askToQuit);
    answers[i] = asking[i]->stop();
}

// Asked under a hall of fame by this game, then by the other while the first box is up: each box
// sits on the hall of fame, and answering the second leaves the hall of fame and the host disabled
// under the first. A quit message while the first is up answers nothing and stays for the host.
TEST_P(Quit, AskedUnderAHallOfFameTheBoxSitsOnItAndTheHostStaysDisabled) {
    RegistrySandbox noHost;
    HWND host = makeTopLevelWindow();
    ShowWindow(host, SW_SHOWNOACTIVATE);
    const Texts& other = kTexts[t.game == &kOrvane ? 1 : 0];
    Plugin otherPlugin(other.game->dll);
    asking = {&plugin, &otherPlugin};
    answers[0] = answers[1] = -1;
    asked = 0;
    SetTimer(nullptr, 0, 0, askToQuit);  // the hall of fame's is the first loop to take it
    runScore(plugin, "mode*0*1", [&] {
        HWND first = driver::waitFor(t.caption), second = driver::waitFor(other.caption);
        HWND hallOfFame = driver::find(t.game->hallOfFame.caption);  // its loop runs, though it may not be shown yet
        EXPECT_EQ(hallOfFame, GetWindow(first, GW_OWNER));
        EXPECT_EQ(hallOfFame, GetWindow(second, GW_OWNER));
        driver::click(second, IDYES);
        for (DWORD start = GetTickCount(); answers[1] < 0 && GetTickCount() - start < 8000;) Sleep(10);
        EXPECT_FALSE(IsWindowEnabled(hallOfFame) || IsWindowEnabled(host));
        PostThreadMessageA(GetWindowThreadProcessId(host, nullptr), WM_QUIT, 0, 0);
        driver::waitGone(hallOfFame);  // before anything else is sent, which would end it first
    });
    MSG quit;
    EXPECT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(0, answers[0]);
    EXPECT_EQ(1, answers[1]);
    EXPECT_TRUE(IsWindowEnabled(host));
    DestroyWindow(host);
}

INSTANTIATE_TEST_SUITE_P(BothGames, Quit, ::testing::ValuesIn(kTexts),
                         [](const ::testing::TestParamInfo<Texts>& info) { return info.param.game->name; });

}  // namespace
