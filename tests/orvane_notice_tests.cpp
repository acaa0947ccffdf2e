// The slow-system notice before Orvane's start dialog, and its flag in the world key.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "CallLedger.h"
#include "DialogDriver.h"
#include "EntryRuns.h"
#include "Installation.h"
#include "Plugin.h"
#include "RegistrySandbox.h"
#include "orvane/resource.h"

namespace {
const char* const kWorld = "dZORV_Orbit";
const char* const kNotice = "Orvane Info";
const char* const kStart = "Orvane Start Game Dialog";

int flagWrites;

struct FlagWrites : LedgerView {
    using LedgerView::LedgerView;
    LONG setValue(HKEY key, LPCSTR name, DWORD reserved, DWORD type, const BYTE* data, DWORD size) override {
        if (name && std::string(name) == "NoShowOrvaneInfoDlg") ++flagWrites;
        return LedgerView::setValue(key, name, reserved, type, data, size);
    }
};

class OrvaneNotice : public ::testing::Test {
protected:
    OrvaneNotice() {
        flagWrites = 0;
        install.addWorld(kWorld);
        install.setCurrentWorld(kWorld);
    }

    reg::Value flag() { return reg::get(kWorld, "NoShowOrvaneInfoDlg"); }

    // Opens the start dialog; the script handles the notice, then the start dialog is cancelled.
    void openStart(const Script& onNotice) {
        EXPECT_FALSE(runStart(plugin, kNotice, [onNotice](HWND notice) {
                         onNotice(notice);
                         if (HWND start = driver::waitFor(kStart)) driver::click(start, IDCANCEL);
                     }).result);
    }
    // Opens the start dialog, which must come without the notice, and cancels it.
    void expectNoNotice() {
        EXPECT_FALSE(runStart(plugin, kStart, [](HWND start) {
                         EXPECT_EQ(nullptr, driver::find(kNotice));
                         driver::click(start, IDCANCEL);
                     }).result);
    }

    Installation install;
    Plugin plugin{"orvane.dll"};
    FlagWrites hook{plugin.module};
};

DWORD dwordOf(const reg::Value& value) {
    DWORD v = 0;
    memcpy(&v, value.data.data(), value.data.size() < 4 ? value.data.size() : 4);
    return v;
}
}  // namespace

TEST_F(OrvaneNotice, ShownAloneOnceInAFreshWorldAndStoredAtOnce) {
    openStart([this](HWND notice) {
        HWND start = driver::find(kStart);
        EXPECT_NE(nullptr, start);
        EXPECT_FALSE(driver::visible(start));
        EXPECT_TRUE(driver::checked(notice, IDC_NO_SHOW_AGAIN));
        EXPECT_EQ(driver::item(notice, IDOK), driver::focus(notice));
        reg::Value stored = flag();
        EXPECT_EQ(static_cast<DWORD>(REG_DWORD), stored.type);
        EXPECT_EQ(4u, stored.data.size());
        EXPECT_EQ(1u, dwordOf(stored));
        RECT desktop = driver::rect(GetDesktopWindow()), own = driver::rect(notice);
        EXPECT_EQ((desktop.right - desktop.left) / 2 - (own.right - own.left) / 2, own.left);
        EXPECT_EQ((desktop.bottom - desktop.top) / 2 - (own.bottom - own.top) / 2, own.top);
        driver::click(notice, IDOK);
    });
    EXPECT_EQ(1, flagWrites);
    expectNoNotice();
    EXPECT_EQ(1, flagWrites);
}

TEST_F(OrvaneNotice, UncheckingStoresZeroAndTheNoticeReturns) {
    openStart(clicks({IDC_NO_SHOW_AGAIN, IDC_NO_SHOW_AGAIN, IDC_NO_SHOW_AGAIN, IDOK}));
    EXPECT_EQ(4, flagWrites);
    EXPECT_EQ(0u, dwordOf(flag()));
    openStart([this](HWND notice) {
        EXPECT_TRUE(driver::checked(notice, IDC_NO_SHOW_AGAIN));
        EXPECT_EQ(1u, dwordOf(flag()));
        driver::pressEscape(notice);
    });
    EXPECT_EQ(1u, dwordOf(flag()));
    expectNoNotice();
}

TEST_F(OrvaneNotice, EscapeAndCloseBoxKeepWhatTheBoxSays) {
    openStart([](HWND notice) {
        driver::click(notice, IDC_NO_SHOW_AGAIN);
        driver::closeBox(notice);
    });
    EXPECT_EQ(0u, dwordOf(flag()));
    openStart(driver::pressEscape);
    EXPECT_EQ(1u, dwordOf(flag()));
}

TEST_F(OrvaneNotice, StoredZeroOrOtherTypesAreReadByTheirBytes) {
    reg::setDword(kWorld, "NoShowOrvaneInfoDlg", 0);
    openStart(clicks({IDOK}));
    const BYTE two[] = {0, 7};
    reg::setBytes(kWorld, "NoShowOrvaneInfoDlg", REG_BINARY, two, sizeof two);
    expectNoNotice();
    // Too large to read: no flag.
    const BYTE eight[8] = {1, 1, 1, 1, 1, 1, 1, 1};
    reg::setBytes(kWorld, "NoShowOrvaneInfoDlg", REG_BINARY, eight, sizeof eight);
    openStart(clicks({IDOK}));
}

TEST_F(OrvaneNotice, WithoutAWorldKeyItIsShownEveryTimeAndNothingIsStored) {
    reg::deleteTree(kWorld);
    for (int i = 0; i < 2; ++i) openStart(clicks({IDOK}));
    EXPECT_EQ(0, flagWrites);
    EXPECT_FALSE(reg::get(kWorld, "NoShowOrvaneInfoDlg").exists);
}
