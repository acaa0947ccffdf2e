// Orvane's start entry point and its start dialog.
#include <gtest/gtest.h>

#include <cstring>

#include "CallLedger.h"
#include "DialogDriver.h"
#include "Installation.h"
#include "Plugin.h"
#include "RegistrySandbox.h"

namespace {
const char* const kCaption = "Orvane Start Game Dialog";

struct StartRun {
    bool result;
    char buffer[64];
};

// Runs the start entry point on a buffer of 0xbd bytes while the script drives the dialog.
StartRun runStart(Plugin& plugin, void (*script)(HWND), int unused = 0) {
    StartRun run = {};
    memset(run.buffer, 0xbd, sizeof run.buffer);
    ScriptedRun driverThread([script] {
        if (HWND dialog = driver::waitFor(kCaption)) script(dialog);
    });
    run.result = plugin.start(run.buffer, unused);
    driverThread.finish();
    return run;
}

// A world whose notice was already dismissed, so the start dialog opens on its own.
class OrvaneStart : public ::testing::Test {
protected:
    OrvaneStart() {
        install.addWorld("dZORV_Orbit");
        install.setCurrentWorld("dZORV_Orbit");
        reg::setDword("dZORV_Orbit", "NoShowOrvaneInfoDlg", 1);
    }
    Installation install;
};

bool untouched(const char* buffer, size_t from, size_t to) {
    for (size_t i = from; i < to; ++i)
        if (static_cast<unsigned char>(buffer[i]) != 0xbd) return false;
    return true;
}
}  // namespace

TEST_F(OrvaneStart, FreeplayWritesDefaultAndNothingElse) {
    Plugin plugin("orvane.dll");
    for (int unused : {0, -1, 0x12345678}) {
        StartRun run = runStart(
            plugin, [](HWND dialog) { driver::click(dialog, 102); }, unused);
        EXPECT_TRUE(run.result);
        EXPECT_EQ(0, memcmp(run.buffer, "default", 8));
        EXPECT_TRUE(untouched(run.buffer, 8, sizeof run.buffer));
    }
}

TEST_F(OrvaneStart, EveryOtherEndingLeavesTheBufferAlone) {
    Plugin plugin("orvane.dll");
    void (*endings[])(HWND) = {
        [](HWND dialog) { driver::click(dialog, IDCANCEL); },
        [](HWND dialog) { driver::pressEscape(dialog); },
        [](HWND dialog) { driver::closeBox(dialog); },
    };
    for (auto ending : endings) {
        StartRun run = runStart(plugin, ending);
        EXPECT_FALSE(run.result);
        EXPECT_TRUE(untouched(run.buffer, 0, sizeof run.buffer));
    }
}

TEST_F(OrvaneStart, NullBufferIsNeverWritten) {
    Plugin plugin("orvane.dll");
    ScriptedRun driverThread([] {
        if (HWND dialog = driver::waitFor(kCaption)) driver::click(dialog, 102);
    });
    EXPECT_FALSE(plugin.start(nullptr, 0));
}

TEST_F(OrvaneStart, DialogMatchesItsTemplate) {
    Plugin plugin("orvane.dll");
    runStart(plugin, [](HWND dialog) {
        EXPECT_EQ(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
                  driver::style(dialog) & (WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME));
        HWND freeplay = driver::item(dialog, 102);
        EXPECT_EQ("Freeplay", driver::text(freeplay));
        EXPECT_EQ(BS_BITMAP | WS_TABSTOP, driver::style(freeplay) & (BS_BITMAP | WS_TABSTOP | BS_OWNERDRAW));
        EXPECT_EQ(0, driver::style(freeplay) & BS_DEFPUSHBUTTON);
        EXPECT_NE(nullptr, driver::image(freeplay));
        HWND cancel = driver::item(dialog, IDCANCEL);
        EXPECT_EQ("Cancel", driver::text(cancel));
        EXPECT_EQ(0, driver::style(cancel) & BS_DEFPUSHBUTTON);
        EXPECT_EQ(freeplay, driver::focus(dialog));
        // Tab order: Freeplay, Cancel, the hint, the banner.
        HWND hint = GetWindow(cancel, GW_HWNDNEXT);
        EXPECT_EQ("HINT: Press Ctrl-S to quit Orvane", driver::text(hint));
        EXPECT_EQ(SS_CENTER | WS_GROUP, driver::style(hint) & (SS_TYPEMASK | WS_GROUP));
        HWND banner = GetWindow(hint, GW_HWNDNEXT);
        EXPECT_EQ(SS_BITMAP, driver::style(banner) & SS_TYPEMASK);
        EXPECT_NE(nullptr, driver::image(banner));
        EXPECT_EQ(freeplay, GetWindow(dialog, GW_CHILD));

        // Centred by halving each size on its own, from the desktop's origin.
        RECT desktop = driver::rect(GetDesktopWindow());
        RECT own = driver::rect(dialog);
        const int width = own.right - own.left, height = own.bottom - own.top;
        EXPECT_EQ((desktop.right - desktop.left) / 2 - width / 2, own.left);
        EXPECT_EQ((desktop.bottom - desktop.top) / 2 - height / 2, own.top);
        driver::click(dialog, IDCANCEL);
    });
}

TEST_F(OrvaneStart, EnterWithoutAPushButtonFocusedEndsWithOkAndStartsNothing) {
    Plugin plugin("orvane.dll");
    StartRun run = runStart(plugin, [](HWND dialog) {
        // Move the focus off the push buttons, to the hint.
        HWND hint = GetWindow(driver::item(dialog, IDCANCEL), GW_HWNDNEXT);
        PostMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(hint), TRUE);
        driver::pressEnter(dialog);
    });
    EXPECT_FALSE(run.result);
    EXPECT_TRUE(untouched(run.buffer, 0, sizeof run.buffer));
}

namespace {
HINSTANCE dialogInstance;

struct RecordingDialogBox : LedgerView {
    using LedgerView::LedgerView;
    INT_PTR dialogBox(HINSTANCE instance, LPCSTR name, HWND owner, DLGPROC proc, LPARAM param) override {
        dialogInstance = instance;
        return LedgerView::dialogBox(instance, name, owner, proc, param);
    }
};
}  // namespace

// The template lives in the plug-in, not in the host: the entry point must switch modules.
TEST_F(OrvaneStart, DialogComesFromThePluginsOwnResources) {
    EXPECT_EQ(-1, DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(101), nullptr, nullptr, 0));
    const DWORD error = GetLastError();
    EXPECT_TRUE(error == ERROR_RESOURCE_NAME_NOT_FOUND || error == ERROR_RESOURCE_DATA_NOT_FOUND) << error;

    Plugin plugin("orvane.dll");
    RecordingDialogBox hook(plugin.module);
    ASSERT_TRUE(hook.hooked(Api::DialogBoxParamA));
    runStart(plugin, [](HWND dialog) { driver::click(dialog, 102); });
    EXPECT_EQ(reinterpret_cast<HINSTANCE>(plugin.module), dialogInstance);
}
