// Orvane's start entry point and its start dialog.
#include <gtest/gtest.h>

#include "CallLedger.h"
#include "DialogDriver.h"
#include "EntryRuns.h"
#include "Games.h"
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

// Monitors as the dialog reads them: the primary one's size, and the one each window's middle is on.
// Under Wine the desktop window spans them all; on Windows it is the primary monitor.
struct Monitors : LedgerView {
    Monitors(HMODULE module, RECT primary, RECT other) : LedgerView(module), rects{primary, other} {}
    int systemMetrics(int index) override {  // the primary monitor's origin is the screen's
        if (index != SM_CXSCREEN && index != SM_CYSCREEN) return LedgerView::systemMetrics(index);
        return index == SM_CXSCREEN ? rects[0].right : rects[0].bottom;
    }
    HMONITOR monitorFromWindow(HWND window, DWORD) override {
        const RECT r = driver::rect(window);
        return reinterpret_cast<HMONITOR>(
            &rects[PtInRect(&rects[1], {(r.left + r.right) / 2, (r.top + r.bottom) / 2})]);
    }
    BOOL monitorInfo(HMONITOR monitor, LPMONITORINFO info) override {
        info->rcMonitor = info->rcWork = *reinterpret_cast<RECT*>(monitor);
        return TRUE;
    }
    RECT rects[2];
};

// What the template says is checked in the built DLL; here, what the running dialog adds. The
// dialog is centred on the primary monitor, and fitted to the monitor it ends on: alone; with a
// small monitor of its own where the dialog first shows, at the top left; on a primary monitor
// smaller than the screen, with another beside it.
TEST_F(OrvaneStart, DialogShowsItsPicturesFocusesFreeplayAndIsCentred) {
    const RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    const RECT layouts[][2] = {{screen, {}}, {screen, {0, 0, 300, 200}}, {{0, 0, 800, 600}, {800, 0, 2000, 600}}};
    for (const auto& layout : layouts) {
        Monitors monitors(plugin.module, layout[0], layout[1]);
        run([primary = layout[0]](HWND dialog) {
            HWND freeplay = driver::item(dialog, IDC_FREEPLAY);
            EXPECT_NE(nullptr, driver::image(freeplay));
            // The banner, the last control.
            EXPECT_NE(nullptr, driver::image(GetWindow(freeplay, GW_HWNDLAST)));
            // Focused, yet no button is shown as the default one.
            EXPECT_EQ(freeplay, driver::focus(dialog));
            EXPECT_EQ(0, driver::style(freeplay) & BS_DEFPUSHBUTTON);
            EXPECT_EQ(0, driver::style(driver::item(dialog, IDCANCEL)) & BS_DEFPUSHBUTTON);
            // Its whole template's size, centred by halving each size on its own from the origin.
            RECT units = {0, 0, 259, 145}, client;
            MapDialogRect(dialog, &units);
            GetClientRect(dialog, &client);
            EXPECT_TRUE(EqualRect(&units, &client));
            const RECT own = driver::rect(dialog);
            EXPECT_EQ(primary.right / 2 - (own.right - own.left) / 2, own.left);
            EXPECT_EQ(primary.bottom / 2 - (own.bottom - own.top) / 2, own.top);
            driver::click(dialog, IDCANCEL);
        });
    }
}

}  // namespace
