// Quibbix's start entry point: the start dialog, the ball speed and the custom level selection.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CallLedger.h"
#include "DialogDriver.h"
#include "EntryRuns.h"
#include "Games.h"
#include "Installation.h"
#include "Interceptors.h"
#include "Plugin.h"
#include "quibbix/resource.h"

namespace {
const char* const kStart = kQuibbix.start.caption;

// Moves the keyboard focus as the dialog manager would, and waits until it is there.
void focusOn(HWND dialog, int id) {
    HWND control = driver::item(dialog, id);
    PostMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
    for (DWORD start = GetTickCount(); driver::focus(dialog) != control && GetTickCount() - start < 5000;) Sleep(10);
    EXPECT_EQ(control, driver::focus(dialog));
}

class QuibbixStart : public ::testing::Test {
protected:
    StartRun start(const Script& script, int unused = 0) { return runStart(plugin, kStart, script, unused); }
    Plugin plugin{"quibbix.dll"};
};

TEST_F(QuibbixStart, RandomCarriesTheChosenSpeed) {
    EXPECT_START_STRING("random*0", start(clicks({IDC_RANDOM})));
    EXPECT_START_STRING("random*-1", start(clicks({IDC_SLOW, IDC_RANDOM}), -1));
    EXPECT_START_STRING("random*1", start(clicks({IDC_FAST, IDC_RANDOM}), 0x12345678));
}

TEST_F(QuibbixStart, ArrowKeysInTheSpeedGroupChangeTheSpeed) {
    for (auto [key, expected] : {std::pair{VK_RIGHT, "random*1"}, {VK_LEFT, "random*-1"}}) {
        EXPECT_START_STRING(expected, start([key = key](HWND d) {
                                focusOn(d, IDC_NORMAL);
                                driver::pressKey(d, key);
                                driver::click(d, IDC_RANDOM);
                            }));
    }
}

TEST_F(QuibbixStart, EveryOpeningStartsAtNormal) {
    start(clicks({IDC_FAST, IDC_RANDOM}));
    EXPECT_START_STRING("random*0", start([](HWND d) {
                            EXPECT_FALSE(driver::checked(d, IDC_SLOW));
                            EXPECT_TRUE(driver::checked(d, IDC_NORMAL));
                            EXPECT_FALSE(driver::checked(d, IDC_FAST));
                            driver::click(d, IDC_RANDOM);
                        }));
}

TEST_F(QuibbixStart, ButtonsShowTheirPicturesAndRandomHasTheFocus) {
    start([](HWND dialog) {
        HWND random = driver::item(dialog, IDC_RANDOM);
        HWND user = driver::item(dialog, IDC_USER);
        EXPECT_NE(nullptr, driver::image(random));
        EXPECT_NE(nullptr, driver::image(user));
        EXPECT_NE(driver::image(random), driver::image(user));
        EXPECT_EQ(random, driver::focus(dialog));
        driver::click(dialog, IDCANCEL);
    });
}

const char* const kLevels = kQuibbix.customLevels.caption;
using Names = std::vector<std::string>;

Names listed(HWND levels) { return driver::items(driver::item(levels, IDC_FOLDER_LIST)); }
HWND field(HWND levels) { return FindWindowExA(driver::item(levels, IDC_FOLDER_LIST), nullptr, "Edit", nullptr); }

// Replaces the text of the combo box's field as typing would.
void typeInField(HWND levels, const char* text) {
    HWND edit = field(levels);
    ASSERT_NE(nullptr, edit);
    SendMessageA(edit, EM_SETSEL, 0, -1);
    PostMessageA(edit, WM_CHAR, VK_BACK, 1);
    driver::type(edit, text);
}

// A host installation, whose folder of custom level sets addSets makes.
class QuibbixCustomLevels : public QuibbixStart {
protected:
    // The folder with these sets in it; its path.
    std::string addSets(std::initializer_list<const char*> names = {}) {
        inst.addFolder("games");
        inst.addFolder("games\\quibbix");
        for (const char* name : names) inst.addFolder((std::string("games\\quibbix\\") + name).c_str());
        return inst.dir() + "games\\quibbix\\";
    }
    // Clicks these, presses User and hands the custom level dialog to the script.
    StartRun runUser(std::vector<int> before, const Script& script) {
        before.push_back(IDC_USER);
        return start([before, script](HWND start) {
            clicks(before)(start);
            if (HWND levels = driver::waitFor(kLevels)) script(levels);
        });
    }
    Installation inst;
};

TEST_F(QuibbixCustomLevels, ListsFoldersSortedAfterTheBuiltInSet) {
    const std::string base = addSets({"zeta", "Alpha", "beta", "hidden"});
    SetFileAttributesA((base + "hidden").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    inst.addFile("games\\quibbix\\aaa.txt");
    inst.addFile("games\\quibbix\\level");

    StartRun run = runUser({IDC_FAST}, [&base](HWND levels) {
        EXPECT_EQ((Names{"Vellomy", "Alpha", "beta", "hidden", "zeta"}), listed(levels));
        EXPECT_EQ("Vellomy", driver::text(levels, IDC_FOLDER_LIST));
        EXPECT_EQ(base, driver::text(levels, IDC_BASE_FOLDER));
        EXPECT_EQ(driver::item(levels, IDOK), driver::focus(levels));
        driver::click(levels, IDOK);
    });
    EXPECT_START_STRING("user*Vellomy*1", run);
    Interceptors standardUser(plugin.module);  // reads the installation folder all the same
    standardUser.refuseWriteRights();
    EXPECT_START_STRING("user*beta*0", runUser({}, [](HWND levels) {
                            SendMessageA(driver::item(levels, IDC_FOLDER_LIST), CB_SETCURSEL, 2, 0);
                            driver::click(levels, IDOK);
                        }));
}

TEST_F(QuibbixCustomLevels, CancelKeepsTheStartDialogAndListsAnew) {
    StartRun run = start([this](HWND start) {
        clicks({IDC_SLOW, IDC_USER})(start);
        // No base folder at all: the built-in set alone.
        if (HWND levels = driver::waitFor(kLevels)) {
            EXPECT_EQ(Names{"Vellomy"}, listed(levels));
            EXPECT_FALSE(IsWindowEnabled(start));
            driver::click(levels, IDCANCEL);
            driver::waitGone(levels);
        }
        addSets({"fresh"});
        driver::click(start, IDC_USER);
        if (HWND levels = driver::waitFor(kLevels)) {
            EXPECT_EQ((Names{"Vellomy", "fresh"}), listed(levels));
            driver::pressEscape(levels);
            driver::waitGone(levels);
        }
        driver::click(start, IDC_RANDOM);
    });
    EXPECT_START_STRING("random*-1", run);
}

TEST_F(QuibbixCustomLevels, UnreadableInstallationMakesUserDoNothing) {
    RegistrySandbox noHost;
    CallLedger calls(plugin.module);
    ASSERT_TRUE(calls.hooked(Api::DialogBoxParamA));
    EXPECT_START_STRING("random*0", start(clicks({IDC_USER, IDC_RANDOM})));
    EXPECT_EQ(1, calls.count(Api::DialogBoxParamA));
}

TEST_F(QuibbixCustomLevels, OnlyListedNamesReachTheStartString) {
    addSets({"beta"});
    CallLedger calls(plugin.module);
    ASSERT_TRUE(calls.hooked(Api::MessageBeep));
    auto beeps = [&calls] { return calls.count(Api::MessageBeep); };

    const Names unlisted = {"", "gamma", "..", "..\\beta", "beta\\", "C:beta", "/beta", "*", "beta*1"};
    Names refused;
    StartRun run = runUser({}, [&](HWND levels) {
        for (const std::string& text : unlisted) {
            const int before = beeps();
            typeInField(levels, text.c_str());
            driver::click(levels, IDOK);
            for (DWORD start = GetTickCount(); beeps() == before && GetTickCount() - start < 5000;) Sleep(10);
            if (beeps() == before + 1 && driver::visible(levels)) refused.push_back(text);
        }
        // A listed name typed in another case: the list's own spelling is handed on.
        typeInField(levels, "BETA");
        driver::click(levels, IDOK);
    });
    EXPECT_EQ(unlisted, refused);
    EXPECT_START_STRING("user*beta*0", run);

    // Refused text never ends the start dialog.
    run = runUser({}, [](HWND levels) {
        HWND start = GetWindow(levels, GW_OWNER);
        typeInField(levels, "gamma");
        clicks({IDOK, IDCANCEL})(levels);
        driver::waitGone(levels);
        driver::click(start, IDCANCEL);
    });
    EXPECT_FALSE(run.result);
    EXPECT_TRUE(untouched(run));
}

// Two dots in a row are an ordinary part of a folder name; only "." and ".." name no set. A name
// the code page cannot spell is spelled with "?" or a look-alike, as "Pack*2", "Old/New",
// "..\..\Windows" or "Omega": it names another folder or none, and is left out.
TEST_F(QuibbixCustomLevels, NamesWithDotsInARowAreOrdinarySetsUnspellableOnesAreLeftOut) {
    addSets({"v1..2", "..x"});
    ASSERT_EQ(1252u, GetACP());
    for (const wchar_t* name : {L"\x41b\x451\x434", L"\x414\x43e\x43c",
                                L"Pack\xff0a"
                                L"2",
                                L"Old\xff0fNew", L"\xff0e\xff0e\xff3c\xff0e\xff0e\xff3cWindows", L"\x3a9mega"})
        ASSERT_TRUE(inst.addFolder(std::wstring(L"games\\quibbix\\") + name));
    EXPECT_START_STRING("user*v1..2*0", runUser({}, [](HWND levels) {
                            EXPECT_EQ((Names{"Vellomy", "..x", "v1..2"}), listed(levels));
                            typeInField(levels, "V1..2");
                            driver::click(levels, IDOK);
                        }));
}

// "user*" + name + "*-1" and its terminator must fit the host's 260 bytes.
TEST_F(QuibbixCustomLevels, NamesTooLongForTheStartStringAreNotOffered) {
    addSets();
    const std::wstring sets = L"games\\quibbix\\";
    const std::string fits = "a" + std::string(250, 'x');  // 251 characters: 260 bytes
    ASSERT_TRUE(inst.addFolder(sets + L"a" + std::wstring(250, 'x')));
    ASSERT_TRUE(inst.addFolder(sets + L"b" + std::wstring(251, 'x')));
    inst.addFolder(sets + L"c" + std::wstring(254, 'x'));  // the longest name a folder can have here

    EXPECT_START_STRING("user*" + fits + "*-1", runUser({IDC_SLOW}, [&fits](HWND levels) {
                            EXPECT_EQ((Names{"Vellomy", fits}), listed(levels));
                            EXPECT_EQ(251, SendMessageA(field(levels), EM_GETLIMITTEXT, 0, 0));
                            SendMessageA(driver::item(levels, IDC_FOLDER_LIST), CB_SETCURSEL, 1, 0);
                            driver::click(levels, IDOK);
                        }));
}

}  // namespace
