// Orvane's start entry point and its start dialog.
#include <gtest/gtest.h>

#include "CallLedger.h"
#include "DialogDriver.h"
#include "EntryRuns.h"
#include "GameDialogs.h"
#include "Installation.h"
#include "Plugin.h"
#include "RegistrySandbox.h"
#include "orvane/resource.h"

namespace {
const char* const kCaption = kOrvane.start.caption;

// A world whose notice was already dismissed, so the start dialog opens on its own.
class OrvaneStart : public ::testing::Test {
protected:
    OrvaneStart() {
        install.addWorld("dZORV_Orbit");
        install.setCurrentWorld("dZORV_Orbit");
        reg::setDword("dZORV_Orbit", "NoShowOrvaneInfoDlg", 1);
    }
    StartRun run(const Script& script, int unused = 0) { return runStart(plugin, kCaption, script, unused); }
    Installation install;
    Plugin plugin{"orvane.dll"};
};

TEST_F(OrvaneStart, FreeplayWritesDefaultAndNothingElse) {
    for (int unused : {0, -1, 0x12345678}) EXPECT_START_STRING("default", run(clicks({IDC_FREEPLAY}), unused));
}

// Under Wine the desktop window spans every monitor: here two side by side, or a second one left of
// or above the first. On Windows it is the primary monitor.
struct Desktop : LedgerView {
    Desktop(HMODULE module, RECT spans) : LedgerView(module), spans(spans) {}
    BOOL windowRect(HWND window, LPRECT rect) override {
        if (window != GetDesktopWindow()) return LedgerView::windowRect(window, rect);
        *rect = spans;
        return TRUE;
    }
    RECT spans;
};

// What the template says is checked in the built DLL; here, what the running dialog adds. However
// many monitors the desktop spans, the dialog is centred on the primary one.
TEST_F(OrvaneStart, DialogShowsItsPicturesFocusesFreeplayAndIsCentred) {
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    for (RECT spans : {RECT{0, 0, width, height}, RECT{0, 0, 2 * width, height}, RECT{-width, 0, width, height},
                       RECT{0, -height, width, height}}) {
        Desktop desktop(plugin.module, spans);
        run([width, height](HWND dialog) {
            HWND freeplay = driver::item(dialog, IDC_FREEPLAY);
            EXPECT_NE(nullptr, driver::image(freeplay));
            // The banner, the last control.
            EXPECT_NE(nullptr, driver::image(GetWindow(freeplay, GW_HWNDLAST)));
            // Focused, yet no button is shown as the default one.
            EXPECT_EQ(freeplay, driver::focus(dialog));
            EXPECT_EQ(0, driver::style(freeplay) & BS_DEFPUSHBUTTON);
            EXPECT_EQ(0, driver::style(driver::item(dialog, IDCANCEL)) & BS_DEFPUSHBUTTON);
            // Centred by halving each size on its own, from the primary monitor's origin.
            const RECT own = driver::rect(dialog);
            EXPECT_EQ(width / 2 - (own.right - own.left) / 2, own.left);
            EXPECT_EQ(height / 2 - (own.bottom - own.top) / 2, own.top);
            driver::click(dialog, IDCANCEL);
        });
    }
}

TEST_F(OrvaneStart, EveryOtherEndingLeavesTheBufferAlone) {
    expectNothingStarted(plugin, kCaption,
                         {
                             clicks({IDCANCEL}),
                             driver::pressEscape,
                             driver::closeBox,
                             [](HWND dialog) {
                                 // Enter with the focus off the push buttons, on the hint, ends through OK, which
                                 // starts nothing.
                                 HWND hint = GetWindow(driver::item(dialog, IDCANCEL), GW_HWNDNEXT);
                                 PostMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(hint), TRUE);
                                 driver::pressEnter(dialog);
                             },
                         });
}

TEST_F(OrvaneStart, NullBufferIsNeverWritten) {
    EXPECT_FALSE(runStart(plugin, nullptr, kCaption, clicks({IDC_FREEPLAY})));
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
TEST_F(OrvaneStart, DialogComesFromThePluginsOwnResources) {
    EXPECT_EQ(-1, DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_GAME_START), nullptr, nullptr, 0));
    const DWORD error = GetLastError();
    EXPECT_TRUE(error == ERROR_RESOURCE_NAME_NOT_FOUND || error == ERROR_RESOURCE_DATA_NOT_FOUND) << error;

    RecordingDialogBox hook(plugin.module);
    ASSERT_TRUE(hook.hooked(Api::DialogBoxParamA));
    run(clicks({IDC_FREEPLAY}));
    EXPECT_EQ(reinterpret_cast<HINSTANCE>(plugin.module), hook.seen);
}

}  // namespace
