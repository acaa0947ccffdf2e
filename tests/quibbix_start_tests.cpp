// Quibbix's start entry point: the start dialog, the ball speed and the custom level selection.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "CallLedger.h"
#include "DialogDriver.h"
#include "Installation.h"
#include "Plugin.h"

namespace {
const char* const kStart = "Quibbix Start Game Dialog";

enum { kRandom = 102, kUser = 104, kSlow = 1002, kNormal = 1003, kFast = 1004 };

struct StartRun {
    bool result;
    char buffer[300];
};

// Runs the start entry point on a buffer of 0xbd bytes while the script drives the dialog.
StartRun runStart(Plugin& plugin, std::function<void(HWND)> script, int unused = 0) {
    StartRun run = {};
    memset(run.buffer, 0xbd, sizeof run.buffer);
    ScriptedRun driverThread([script] {
        if (HWND dialog = driver::waitFor(kStart)) script(dialog);
    });
    run.result = plugin.start(run.buffer, unused);
    driverThread.finish();
    return run;
}

bool untouched(const char* buffer, size_t from, size_t to) {
    for (size_t i = from; i < to; ++i)
        if (static_cast<unsigned char>(buffer[i]) != 0xbd) return false;
    return true;
}

// The start string and its terminator, and nothing written behind them.
void expectStartString(const StartRun& run, const std::string& expected, int line) {
    EXPECT_TRUE(run.result) << "line " << line;
    EXPECT_EQ(expected, std::string(run.buffer, strnlen(run.buffer, sizeof run.buffer))) << "line " << line;
    EXPECT_TRUE(untouched(run.buffer, expected.size() + 1, sizeof run.buffer)) << "line " << line;
}
#define EXPECT_START_STRING(run, expected) expectStartString(run, expected, __LINE__)

std::function<void(HWND)> clicks(std::vector<int> ids) {
    return [ids](HWND dialog) {
        for (int id : ids) driver::click(dialog, id);
    };
}

// Moves the keyboard focus as the dialog manager would, and waits until it is there.
void focusOn(HWND dialog, int id) {
    HWND control = driver::item(dialog, id);
    PostMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
    for (DWORD start = GetTickCount(); driver::focus(dialog) != control && GetTickCount() - start < 5000;) Sleep(10);
    EXPECT_EQ(control, driver::focus(dialog));
}
}  // namespace

TEST(QuibbixStart, RandomCarriesTheChosenSpeed) {
    Plugin plugin("quibbix.dll");
    EXPECT_START_STRING(runStart(plugin, clicks({kRandom})), "random*0");
    EXPECT_START_STRING(runStart(plugin, clicks({kSlow, kRandom}), -1), "random*-1");
    EXPECT_START_STRING(runStart(plugin, clicks({kFast, kRandom}), 0x12345678), "random*1");
}

TEST(QuibbixStart, ArrowKeysInTheSpeedGroupChangeTheSpeed) {
    Plugin plugin("quibbix.dll");
    EXPECT_START_STRING(runStart(plugin,
                                 [](HWND d) {
                                     focusOn(d, kNormal);
                                     driver::pressKey(d, VK_RIGHT);
                                     driver::click(d, kRandom);
                                 }),
                        "random*1");
    EXPECT_START_STRING(runStart(plugin,
                                 [](HWND d) {
                                     focusOn(d, kNormal);
                                     driver::pressKey(d, VK_LEFT);
                                     driver::click(d, kRandom);
                                 }),
                        "random*-1");
}

TEST(QuibbixStart, EveryOpeningStartsAtNormal) {
    Plugin plugin("quibbix.dll");
    runStart(plugin, clicks({kFast, kRandom}));
    bool states[3] = {};
    StartRun run = runStart(plugin, [&states](HWND d) {
        states[0] = driver::checked(d, kSlow);
        states[1] = driver::checked(d, kNormal);
        states[2] = driver::checked(d, kFast);
        driver::click(d, kRandom);
    });
    EXPECT_FALSE(states[0]);
    EXPECT_TRUE(states[1]);
    EXPECT_FALSE(states[2]);
    EXPECT_START_STRING(run, "random*0");
}

TEST(QuibbixStart, EveryOtherEndingLeavesTheBufferAlone) {
    Plugin plugin("quibbix.dll");
    void (*endings[])(HWND) = {
        [](HWND d) {
            clicks({kFast, IDCANCEL})(d);
        },
        [](HWND d) { driver::pressEscape(d); },
        [](HWND d) { driver::closeBox(d); },
        [](HWND d) {
            // Enter with no push button focused ends the dialog through OK, which starts nothing.
            focusOn(d, kNormal);
            driver::pressEnter(d);
        },
    };
    for (auto ending : endings) {
        StartRun run = runStart(plugin, ending);
        EXPECT_FALSE(run.result);
        EXPECT_TRUE(untouched(run.buffer, 0, sizeof run.buffer));
    }
}

TEST(QuibbixStart, NullBufferIsNeverWritten) {
    Plugin plugin("quibbix.dll");
    ScriptedRun driverThread([] {
        if (HWND dialog = driver::waitFor(kStart)) driver::click(dialog, kRandom);
    });
    EXPECT_FALSE(plugin.start(nullptr, 0));
}

TEST(QuibbixStart, ButtonsShowTheirPicturesAndRandomHasTheFocus) {
    Plugin plugin("quibbix.dll");
    runStart(plugin, [](HWND dialog) {
        HWND random = driver::item(dialog, kRandom);
        HWND user = driver::item(dialog, kUser);
        EXPECT_NE(nullptr, driver::image(random));
        EXPECT_NE(nullptr, driver::image(user));
        EXPECT_NE(driver::image(random), driver::image(user));
        EXPECT_EQ(random, driver::focus(dialog));
        driver::click(dialog, IDCANCEL);
    });
}

namespace {
const char* const kLevels = "Quibbix Custom Levels Selection";

std::vector<std::string> listed(HWND levels) {
    HWND list = driver::item(levels, 1000);
    std::vector<std::string> items;
    const int count = static_cast<int>(SendMessageA(list, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        char text[300] = {};
        if (SendMessageA(list, CB_GETLBTEXTLEN, i, 0) < static_cast<LRESULT>(sizeof text))
            SendMessageA(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        items.push_back(text);
    }
    return items;
}

using Names = std::vector<std::string>;

// Presses User and hands the custom level dialog to the script; the start dialog comes first.
StartRun runUser(Plugin& plugin, std::function<void(HWND start)> before, std::function<void(HWND levels)> script) {
    return runStart(plugin, [before, script](HWND start) {
        if (before) before(start);
        driver::click(start, kUser);
        if (HWND levels = driver::waitFor(kLevels)) script(levels);
    });
}

// Replaces the text of the combo box's field as typing would.
void typeInField(HWND levels, const char* text) {
    HWND edit = FindWindowExA(driver::item(levels, 1000), nullptr, "Edit", nullptr);
    ASSERT_NE(nullptr, edit);
    SendMessageA(edit, EM_SETSEL, 0, -1);
    PostMessageA(edit, WM_CHAR, VK_BACK, 1);
    driver::type(edit, text);
}

// Folders whose names the narrow API cannot make: too long, or not in the code page; removed
// before the installation is.
struct WideFolders {
    explicit WideFolders(const std::string& base) : base(base) {}
    ~WideFolders() {
        for (const std::wstring& name : made) RemoveDirectoryW(widePath(name).c_str());
    }
    bool add(const std::string& name) { return add(std::wstring(name.begin(), name.end())); }
    bool add(const std::wstring& name) {
        if (!CreateDirectoryW(widePath(name).c_str(), nullptr)) return false;
        made.push_back(name);
        return true;
    }
    std::wstring widePath(const std::wstring& name) const {
        const std::string path = "\\\\?\\" + base;
        return std::wstring(path.begin(), path.end()) + name;
    }
    std::string base;
    std::vector<std::wstring> made;
};
}  // namespace

TEST(QuibbixCustomLevels, ListsFoldersSortedAfterTheBuiltInSet) {
    Installation inst;
    inst.addFolder("games");
    inst.addFolder("games\\quibbix");
    for (const char* name : {"zeta", "Alpha", "beta", "hidden"})
        inst.addFolder((std::string("games\\quibbix\\") + name).c_str());
    SetFileAttributesA((inst.dir() + "games\\quibbix\\hidden").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    inst.addFile("games\\quibbix\\aaa.txt");
    inst.addFile("games\\quibbix\\level");

    Plugin plugin("quibbix.dll");
    const std::string base = inst.dir() + "games\\quibbix\\";
    Names names;
    std::string field, shownBase;
    bool okFocused = false;
    StartRun run = runUser(
        plugin, [](HWND start) { driver::click(start, kFast); },
        [&](HWND levels) {
            names = listed(levels);
            field = driver::text(driver::item(levels, 1000));
            shownBase = driver::text(levels, 1001);
            okFocused = driver::focus(levels) == driver::item(levels, IDOK);
            driver::click(levels, IDOK);
        });
    EXPECT_EQ((Names{"Vellomy", "Alpha", "beta", "hidden", "zeta"}), names);
    EXPECT_EQ("Vellomy", field);
    EXPECT_EQ(base, shownBase);
    EXPECT_TRUE(okFocused);
    EXPECT_START_STRING(run, "user*Vellomy*1");

    // A listed folder, picked from the list.
    run = runUser(plugin, nullptr, [](HWND levels) {
        SendMessageA(driver::item(levels, 1000), CB_SETCURSEL, 2, 0);
        driver::click(levels, IDOK);
    });
    EXPECT_START_STRING(run, "user*beta*0");
}

TEST(QuibbixCustomLevels, CancelKeepsTheStartDialogAndListsAnew) {
    Installation inst;
    Plugin plugin("quibbix.dll");
    Names first, second;
    bool startEnabledUnder = true;
    StartRun run = runStart(plugin, [&](HWND start) {
        driver::click(start, kSlow);
        driver::click(start, kUser);
        // No base folder at all: the built-in set alone.
        if (HWND levels = driver::waitFor(kLevels)) {
            first = listed(levels);
            startEnabledUnder = IsWindowEnabled(start) != 0;
            driver::click(levels, IDCANCEL);
            driver::waitGone(levels);
        }
        inst.addFolder("games");
        inst.addFolder("games\\quibbix");
        inst.addFolder("games\\quibbix\\fresh");
        driver::click(start, kUser);
        if (HWND levels = driver::waitFor(kLevels)) {
            second = listed(levels);
            driver::pressEscape(levels);
            driver::waitGone(levels);
        }
        driver::click(start, kRandom);
    });
    EXPECT_EQ(Names{"Vellomy"}, first);
    EXPECT_FALSE(startEnabledUnder);
    EXPECT_EQ((Names{"Vellomy", "fresh"}), second);
    EXPECT_START_STRING(run, "random*-1");
}

TEST(QuibbixCustomLevels, UnreadableInstallationMakesUserDoNothing) {
    RegistrySandbox noHost;
    Plugin plugin("quibbix.dll");
    CallLedger calls(plugin.module);
    ASSERT_TRUE(calls.hooked(Api::DialogBoxParamA));
    StartRun run = runStart(plugin, [](HWND start) {
        driver::click(start, kUser);
        driver::click(start, kRandom);
    });
    EXPECT_EQ(1, calls.count(Api::DialogBoxParamA));
    EXPECT_START_STRING(run, "random*0");
}

TEST(QuibbixCustomLevels, OnlyListedNamesReachTheStartString) {
    Installation inst;
    inst.addFolder("games");
    inst.addFolder("games\\quibbix");
    inst.addFolder("games\\quibbix\\beta");
    Plugin plugin("quibbix.dll");
    CallLedger calls(plugin.module);
    ASSERT_TRUE(calls.hooked(Api::MessageBeep));
    auto beeps = [&calls] { return calls.count(Api::MessageBeep); };

    std::vector<std::string> refused;
    StartRun run = runUser(plugin, nullptr, [&refused, &beeps](HWND levels) {
        for (const char* text : {"", "gamma", "..", "..\\beta", "beta\\", "C:beta", "/beta", "*", "beta*1"}) {
            const int before = beeps();
            typeInField(levels, text);
            driver::click(levels, IDOK);
            for (DWORD start = GetTickCount(); beeps() == before && GetTickCount() - start < 5000;) Sleep(10);
            if (beeps() == before + 1 && driver::visible(levels)) refused.push_back(text);
        }
        // A listed name typed in another case: the list's own spelling is handed on.
        typeInField(levels, "BETA");
        driver::click(levels, IDOK);
    });
    EXPECT_EQ((Names{"", "gamma", "..", "..\\beta", "beta\\", "C:beta", "/beta", "*", "beta*1"}), refused);
    EXPECT_START_STRING(run, "user*beta*0");

    // Refused text never ends the start dialog.
    run = runUser(plugin, nullptr, [](HWND levels) {
        HWND start = GetWindow(levels, GW_OWNER);
        typeInField(levels, "gamma");
        driver::click(levels, IDOK);
        driver::click(levels, IDCANCEL);
        driver::waitGone(levels);
        driver::click(start, IDCANCEL);
    });
    EXPECT_FALSE(run.result);
    EXPECT_TRUE(untouched(run.buffer, 0, sizeof run.buffer));
}

// Two dots in a row are an ordinary part of a folder name; only "." and ".." name no set. A name
// the code page cannot spell comes back with a "?" in it and names no folder at all.
TEST(QuibbixCustomLevels, NamesWithDotsInARowAreOrdinarySetsUnspellableOnesAreLeftOut) {
    Installation inst;
    inst.addFolder("games");
    inst.addFolder("games\\quibbix");
    for (const char* name : {"v1..2", "..x"}) inst.addFolder((std::string("games\\quibbix\\") + name).c_str());
    ASSERT_EQ(1252u, GetACP());
    WideFolders unspellable(inst.dir() + "games\\quibbix\\");
    ASSERT_TRUE(unspellable.add(L"\x41b\x451\x434") && unspellable.add(L"\x414\x43e\x43c"));
    Plugin plugin("quibbix.dll");
    Names names;
    StartRun run = runUser(plugin, nullptr, [&names](HWND levels) {
        names = listed(levels);
        typeInField(levels, "V1..2");
        driver::click(levels, IDOK);
    });
    EXPECT_EQ((Names{"Vellomy", "..x", "v1..2"}), names);
    EXPECT_START_STRING(run, "user*v1..2*0");
}

// "user*" + name + "*-1" and its terminator must fit the host's 260 bytes.
TEST(QuibbixCustomLevels, NamesTooLongForTheStartStringAreNotOffered) {
    Installation inst;
    inst.addFolder("games");
    inst.addFolder("games\\quibbix");
    WideFolders folders(inst.dir() + "games\\quibbix\\");
    const std::string fits = "a" + std::string(250, 'x');  // 251 characters: 260 bytes
    const std::string over = "b" + std::string(251, 'x');
    ASSERT_TRUE(folders.add(fits));
    ASSERT_TRUE(folders.add(over));
    folders.add("c" + std::string(254, 'x'));  // the longest name a folder can have here

    Plugin plugin("quibbix.dll");
    Names names;
    int fieldLimit = 0;
    StartRun run = runUser(
        plugin, [](HWND start) { driver::click(start, kSlow); },
        [&](HWND levels) {
            names = listed(levels);
            HWND edit = FindWindowExA(driver::item(levels, 1000), nullptr, "Edit", nullptr);
            fieldLimit = static_cast<int>(SendMessageA(edit, EM_GETLIMITTEXT, 0, 0));
            SendMessageA(driver::item(levels, 1000), CB_SETCURSEL, 1, 0);
            driver::click(levels, IDOK);
        });
    EXPECT_EQ((Names{"Vellomy", fits}), names);
    EXPECT_EQ(251, fieldLimit);
    EXPECT_START_STRING(run, "user*" + fits + "*-1");
    EXPECT_EQ(259u, strlen(run.buffer));
}
