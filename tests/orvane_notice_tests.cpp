// The slow-system notice before Orvane's start dialog, and its flag in the world key.
#include <gtest/gtest.h>

#include <string>

#include "CallLedger.h"
#include "DialogDriver.h"
#include "EntryRuns.h"
#include "Games.h"
#include "Installation.h"
#include "Interceptors.h"
#include "Plugin.h"
#include "RegistrySandbox.h"
#include "orvane/resource.h"

namespace {
using namespace std::string_literals;

const char* const kWorld = "dZORV_Orbit";
const char* const kNotice = kOrvane.notice.caption;
const char* const kStart = kOrvane.start.caption;
const std::string kZero = "\0\0\0\0"s, kOne = "\1\0\0\0"s;

class OrvaneNotice : public ::testing::Test {
protected:
    OrvaneNotice() {
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
    CallLedger calls{plugin.module};
    // The flag is the only value the start entry point stores.
    int flagWrites() const { return calls.count(Api::RegSetValueExA); }
};
}  // namespace

TEST_F(OrvaneNotice, ShownAloneOnceInAFreshWorldAndStoredAtOnce) {
    openStart([this](HWND notice) {
        HWND start = driver::find(kStart);
        EXPECT_NE(nullptr, start);
        EXPECT_FALSE(driver::visible(start));
        EXPECT_TRUE(driver::checked(notice, IDC_NO_SHOW_AGAIN));
        EXPECT_EQ(driver::item(notice, IDOK), driver::focus(notice));
        EXPECT_EQ(static_cast<DWORD>(REG_DWORD), flag().type);
        EXPECT_EQ(kOne, flag().data);
        RECT desktop = driver::rect(GetDesktopWindow()), own = driver::rect(notice);
        EXPECT_EQ((desktop.right - desktop.left) / 2 - (own.right - own.left) / 2, own.left);
        EXPECT_EQ((desktop.bottom - desktop.top) / 2 - (own.bottom - own.top) / 2, own.top);
        driver::click(notice, IDOK);
    });
    EXPECT_EQ(1, flagWrites());
    expectNoNotice();
    EXPECT_EQ(1, flagWrites());
}

TEST_F(OrvaneNotice, UncheckingStoresZeroAndTheNoticeReturns) {
    openStart(clicks({IDC_NO_SHOW_AGAIN, IDC_NO_SHOW_AGAIN, IDC_NO_SHOW_AGAIN, IDOK}));
    EXPECT_EQ(4, flagWrites());
    EXPECT_EQ(kZero, flag().data);
    openStart([this](HWND notice) {
        EXPECT_TRUE(driver::checked(notice, IDC_NO_SHOW_AGAIN));
        EXPECT_EQ(kOne, flag().data);
        driver::pressEscape(notice);
    });
    EXPECT_EQ(kOne, flag().data);
    expectNoNotice();
}

TEST_F(OrvaneNotice, EscapeAndCloseBoxKeepWhatTheBoxSays) {
    openStart([](HWND notice) {
        driver::click(notice, IDC_NO_SHOW_AGAIN);
        driver::closeBox(notice);
    });
    EXPECT_EQ(kZero, flag().data);
    openStart(driver::pressEscape);
    EXPECT_EQ(kOne, flag().data);
}

TEST_F(OrvaneNotice, StoredFlagOfEveryTypeCountsByItsBytes) {
    const struct {
        DWORD type;
        std::string bytes;
        bool noticeShown;
    } cases[] = {
        {REG_DWORD, kZero, true},
        {REG_BINARY, "\0\7"s, false},
        {REG_SZ, "1\0"s, false},
        {REG_DWORD_BIG_ENDIAN, "\0\0\0\1"s, false},
        {REG_SZ, "\0"s, true},
        {REG_NONE, "", true},
        {REG_SZ, "12345\0"s, true},
        // Too large to read: no flag.
        {REG_BINARY, std::string(5, '\1'), true},
        {REG_BINARY, std::string(8, '\1'), true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("case " + std::to_string(&c - cases));
        ASSERT_TRUE(reg::setBytes(kWorld, "NoShowOrvaneInfoDlg", c.type, c.bytes.data(), DWORD(c.bytes.size())));
        c.noticeShown ? openStart(clicks({IDOK})) : expectNoNotice();
    }
}

TEST_F(OrvaneNotice, WithoutAWorldKeyItIsShownEveryTimeAndNothingIsStored) {
    reg::deleteTree(kWorld);
    for (int i = 0; i < 2; ++i) openStart(clicks({IDOK}));
    EXPECT_EQ(0, flagWrites());
    EXPECT_FALSE(reg::get(kWorld, "NoShowOrvaneInfoDlg").exists);
}

// A standard user may read the flag but not store it: a stored flag still keeps the notice away.
TEST_F(OrvaneNotice, AStandardUserReadsTheFlagAndStoresNothing) {
    Interceptors standardUser(plugin.module);
    standardUser.refuseWriteRights();
    reg::setDword(kWorld, "NoShowOrvaneInfoDlg", 1);
    expectNoNotice();
    reg::remove(kWorld, "NoShowOrvaneInfoDlg");
    openStart(clicks({IDC_NO_SHOW_AGAIN, IDOK}));
    EXPECT_FALSE(flag().exists);
}
