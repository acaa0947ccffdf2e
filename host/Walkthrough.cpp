// The script runs on a helper thread while the main thread is the host, inside the plug-ins'
// modal loops. It finds dialogs by caption among this process's windows and acts on them only
// by posting or with time-limited sends, so it never waits on a loop it drives.
#include "Walkthrough.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "GameWindow.h"
#include "Journal.h"
#include "RegistryTree.h"
#include "Sample.h"
#include "Screenshot.h"

namespace {
// Control ids of the plug-ins' dialogs.
const int kFreeplay = 102, kOrvaneReplay = 1000;
const int kUser = 104, kSlow = 1002, kNormal = 1003;
const int kFolderList = 1000, kBaseFolder = 1001;
const int kNameField = 124, kScoreText = 119, kFirstRankText = 110, kFirstUserRankText = 121;

const DWORD kDialogTimeoutMs = 10000;
const unsigned kSeed = 20240611;

// Texts of one rank; null where the value must be missing.
struct Row {
    const char* name;
    const char* level;
    const char* score;
};

LRESULT send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(window, message, wParam, lParam, SMTO_BLOCK, 5000, &result);
    return static_cast<LRESULT>(result);
}

std::string textOf(HWND window) {
    char text[1024] = {};
    send(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}

std::string textOf(HWND dialog, int id) { return textOf(GetDlgItem(dialog, id)); }

bool isChecked(HWND dialog, int id) { return send(GetDlgItem(dialog, id), BM_GETCHECK) == BST_CHECKED; }

BOOL CALLBACK collect(HWND window, LPARAM list) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == GetCurrentProcessId()) reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

std::vector<HWND> windowsOfProcess() {
    std::vector<HWND> windows;
    EnumWindows(collect, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

HWND visibleWindow(const char* caption) {
    for (HWND window : windowsOfProcess())
        if (IsWindowVisible(window) && textOf(window) == caption) return window;
    return nullptr;
}

bool hasClass(HWND window, const char* name) {
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    return strcmp(className, name) == 0;
}

class Driver {
public:
    Driver(Journal& journal, const char* shots, const std::string& sampleDir)
        : journal_(journal), shots_(shots), sampleDir_(sampleDir) {}

    void run() {
        if (playOrvane() && playQuibbix()) checkUntouched();
        // Whatever is still open after a failure is cancelled and the host asked to close.
        while (!hostDone_) {
            for (HWND window : windowsOfProcess()) {
                if (!IsWindowVisible(window)) continue;
                if (hasClass(window, "#32770")) {
                    PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
                    PostMessageA(window, WM_COMMAND, IDNO, 0);
                } else if (hasClass(window, kMainWindowClass)) {
                    PostMessageA(window, WM_CLOSE, 0, 0);
                }
            }
            Sleep(100);
        }
    }

    void hostDone() { hostDone_ = true; }
    int failures() const { return failures_; }

private:
    void fail(const char* format, ...) {
        va_list arguments;
        va_start(arguments, format);
        char message[1024];
        vsnprintf(message, sizeof message, format, arguments);
        va_end(arguments);
        printf("FAILED: %s\n", message);
        fflush(stdout);
        ++failures_;
    }

    void step(const char* what) {
        printf("-- %s\n", what);
        fflush(stdout);
    }

    bool expectText(const std::string& got, const char* expected, const char* what) {
        if (got == expected) return true;
        fail("%s: expected \"%s\", got \"%s\"", what, expected, got.c_str());
        return false;
    }

    // A visible window of this process with this caption; fails when it does not show in time,
    // or when the unexpected window shows instead.
    HWND waitFor(const char* caption, const char* unexpected = nullptr, DWORD timeoutMs = kDialogTimeoutMs) {
        for (DWORD start = GetTickCount(); GetTickCount() - start < timeoutMs && !hostDone_; Sleep(20)) {
            if (HWND window = visibleWindow(caption)) {
                Sleep(300);  // let it paint before anyone looks
                send(window, WM_NULL);
                return window;
            }
            if (unexpected && visibleWindow(unexpected)) {
                fail("\"%s\" appeared where \"%s\" should have", unexpected, caption);
                return nullptr;
            }
        }
        fail("no window \"%s\" appeared", caption);
        return nullptr;
    }

    void shoot(HWND window, const char* name) {
        if (!shots_) return;
        char path[MAX_PATH];
        snprintf(path, sizeof path, "%s\\%02i-%s.bmp", shots_, ++shotsTaken_, name);
        if (!saveWindowPicture(window, path)) fail("could not save the picture %s", path);
    }

    // The journal's next entry, which must be this one.
    bool expectEvent(HostEvent::Kind kind, const char* text, int result) {
        HostEvent event;
        if (!journal_.waitFor(nextEvent_, kDialogTimeoutMs, event)) {
            fail("the host did not go on (waiting for entry %i of its journal)", nextEvent_ + 1);
            return false;
        }
        ++nextEvent_;
        if (event.kind != kind || event.text != text || event.result != result) {
            const HostEvent expected = {kind, event.game, text, result};
            fail("expected <%s>, got <%s>", describe(expected).c_str(), describe(event).c_str());
            return false;
        }
        return true;
    }

    void click(HWND dialog, int id) {
        if (HWND control = GetDlgItem(dialog, id))
            PostMessageA(control, BM_CLICK, 0, 0);
        else
            fail("control %i missing in \"%s\"", id, textOf(dialog).c_str());
    }

    void typeInto(HWND dialog, int id, const char* text) {
        HWND field = GetDlgItem(dialog, id);
        for (const char* c = text; *c; ++c) PostMessageA(field, WM_CHAR, static_cast<unsigned char>(*c), 1);
        for (DWORD start = GetTickCount(); textOf(field) != text && GetTickCount() - start < 3000;) Sleep(20);
        expectText(textOf(field), text, "typed name");
    }

    // As the player would: the keyboard, with the main window in front. The keys go down in
    // order and come up in reverse.
    void pressKeys(WORD first, WORD second = 0) {
        SetForegroundWindow(main_);
        for (DWORD start = GetTickCount(); GetForegroundWindow() != main_ && GetTickCount() - start < 2000;) Sleep(20);
        const WORD codes[4] = {first, second, second, first};
        INPUT keys[4] = {};
        UINT count = 0;
        for (int i = 0; i < 4; ++i) {
            if (!codes[i]) continue;
            keys[count].type = INPUT_KEYBOARD;
            keys[count].ki.wVk = codes[i];
            keys[count].ki.dwFlags = i < 2 ? 0 : KEYEVENTF_KEYUP;
            ++count;
        }
        SendInput(count, keys, sizeof keys[0]);
    }

    void enterResult(const char* score, const char* level) {
        send(GetDlgItem(main_, kScoreEdit), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(score));
        send(GetDlgItem(main_, kLevelEdit), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(level));
    }

    void expectShown(HWND dialog, int firstId, const Row rows[3], const char* what) {
        for (int rank = 0; rank < 3; ++rank) {
            const char* cells[3] = {rows[rank].name, rows[rank].level, rows[rank].score};
            for (int field = 0; field < 3; ++field) {
                char label[128];
                snprintf(label, sizeof label, "%s, rank %i, column %i", what, rank + 1, field + 1);
                expectText(textOf(dialog, firstId + 3 * rank + field), cells[field] ? cells[field] : "", label);
            }
        }
    }

    void expectStored(const char* world, const char* game, const char* mode, const Row rows[3]) {
        RegKey key;
        const std::string path = std::string(kHostKeyPath) + "\\" + world;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, key.receive()) != ERROR_SUCCESS) {
            fail("world key %s missing", world);
            return;
        }
        const char* fields[3] = {"Name", "Level", "Score"};
        for (int rank = 0; rank < 3; ++rank) {
            const char* cells[3] = {rows[rank].name, rows[rank].level, rows[rank].score};
            for (int field = 0; field < 3; ++field) {
                char name[128], data[64] = {};
                snprintf(name, sizeof name, "%s%s%s%i", game, mode, fields[field], rank + 1);
                DWORD size = sizeof data - 1;
                const bool exists = RegQueryValueExA(key.get(), name, nullptr, nullptr, reinterpret_cast<BYTE*>(data),
                                                     &size) == ERROR_SUCCESS;
                if (!cells[field] && exists)
                    fail("%s\\%s should not be stored, holds \"%s\"", world, name, data);
                else if (cells[field] && !exists)
                    fail("%s\\%s should hold \"%s\", is missing", world, name, cells[field]);
                else if (cells[field])
                    expectText(data, cells[field], name);
            }
        }
    }

    DWORD noticeFlag(const char* world) {
        RegKey key;
        DWORD flag = 0, size = sizeof flag;
        const std::string path = std::string(kHostKeyPath) + "\\" + world;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, key.receive()) == ERROR_SUCCESS)
            RegQueryValueExA(key.get(), "NoShowOrvaneInfoDlg", nullptr, nullptr, reinterpret_cast<BYTE*>(&flag), &size);
        return flag;
    }

    bool playOrvane() {
        step("Orvane: the host's main window");
        for (DWORD start = GetTickCount(); !main_ && GetTickCount() - start < kDialogTimeoutMs; Sleep(20))
            main_ = visibleWindow("Orvane - Zorv");
        if (!main_) {
            fail("no main window \"Orvane - Zorv\"");
            return false;
        }

        step("Orvane: the slow-system notice comes first, alone");
        HWND notice = waitFor("Orvane Info", "Orvane Start Game Dialog");
        if (!notice) return false;
        if (noticeFlag(kSampleWorld) != 1) fail("NoShowOrvaneInfoDlg is not 1 while the notice is open");
        if (!isChecked(notice, 1001)) fail("the notice's box is not checked");
        shoot(notice, "orvane-notice");
        click(notice, IDOK);

        step("Orvane: start dialog, Freeplay");
        HWND start = waitFor("Orvane Start Game Dialog");
        if (!start) return false;
        shoot(start, "orvane-start");
        click(start, kFreeplay);
        if (!expectEvent(HostEvent::kStart, "default", 1) || !expectEvent(HostEvent::kRound, "default", 1))
            return false;
        expectText(textOf(main_, kStartStringText), "default", "start string shown by the host");
        Sleep(200);
        shoot(main_, "orvane-round");

        step("Orvane: Ctrl-S, the quit question over the host window, answered No");
        pressKeys(VK_CONTROL, 'S');
        HWND box = waitFor("Quit Orvane?");
        if (!box) return false;
        if (GetWindow(box, GW_OWNER) != main_) fail("the quit question is not owned by the host window");
        if (IsWindowEnabled(main_)) fail("the host window is not disabled under the quit question");
        shoot(box, "orvane-quit");
        click(box, IDNO);
        if (!expectEvent(HostEvent::kStop, "", 0)) return false;

        step("Orvane: a qualifying score, 5000 at level 4, and the name ACE");
        enterResult("5000", "4");
        click(main_, kFinishButton);
        HWND name = waitFor("Orvane Hall Of Fame", "Orvane Hall of Fame");
        if (!name) return false;
        expectText(textOf(name, kScoreText), "5000", "score in the name entry");
        typeInto(name, kNameField, "ACE");
        shoot(name, "orvane-name-entry");
        click(name, IDOK);

        step("Orvane: the hall of fame, then Replay");
        const Row afterFirst[3] = {{"NOVA", "6", "9000"}, {"ACE", "4", "5000"}, {"ZED", "2", "1200"}};
        HWND fame = waitFor("Orvane Hall of Fame");
        if (!fame) return false;
        expectText(textOf(fame, kScoreText), "5000", "\"Your Score\"");
        expectShown(fame, kFirstRankText, afterFirst, "Orvane hall of fame");
        expectStored(kSampleWorld, "Orvane", "default", afterFirst);
        shoot(fame, "orvane-hall-of-fame");
        click(fame, kOrvaneReplay);
        if (!expectEvent(HostEvent::kScore, "default*5000*4", 1)) return false;

        step("Orvane: Replay went straight to a second round; 800 at level 1 and Enter, which does not qualify");
        if (!expectEvent(HostEvent::kRound, "default", 2)) return false;
        enterResult("800", "1");
        pressKeys(VK_RETURN);
        fame = waitFor("Orvane Hall of Fame", "Orvane Hall Of Fame");
        if (!fame) return false;
        expectText(textOf(fame, kScoreText), "800", "\"Your Score\"");
        expectShown(fame, kFirstRankText, afterFirst, "Orvane hall of fame");
        expectStored(kSampleWorld, "Orvane", "default", afterFirst);
        shoot(fame, "orvane-hall-of-fame-again");
        click(fame, IDCANCEL);
        if (!expectEvent(HostEvent::kScore, "default*800*1", 0)) return false;

        step("Orvane: Close led back to the start dialog, without the notice; Cancel");
        start = waitFor("Orvane Start Game Dialog", "Orvane Info");
        if (!start) return false;
        click(start, IDCANCEL);
        return expectEvent(HostEvent::kStart, "", 0);
    }

    bool playQuibbix() {
        step("Quibbix: start dialog, Slow, then User");
        HWND start = waitFor("Quibbix Start Game Dialog");
        if (!start) return false;
        expectText(textOf(main_), "Quibbix - Zorv", "main window title");
        if (!isChecked(start, kNormal)) fail("Normal is not preselected");
        click(start, kSlow);
        for (DWORD begin = GetTickCount(); !isChecked(start, kSlow) && GetTickCount() - begin < 3000;) Sleep(20);
        if (!isChecked(start, kSlow)) fail("Slow is not checked after the click");
        shoot(start, "quibbix-start");
        click(start, kUser);

        step("Quibbix: the custom levels, Neon Grid");
        HWND levels = waitFor("Quibbix Custom Levels Selection");
        if (!levels) return false;
        expectText(textOf(levels, kBaseFolder), (sampleDir_ + "\\games\\quibbix\\").c_str(), "base folder");
        HWND list = GetDlgItem(levels, kFolderList);
        std::string items;
        const int count = static_cast<int>(send(list, CB_GETCOUNT));
        for (int i = 0; i < count; ++i) {
            char item[MAX_PATH] = {};
            if (send(list, CB_GETLBTEXTLEN, i) < MAX_PATH) send(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item));
            items += (i ? "|" : "") + std::string(item);
        }
        expectText(items, "Vellomy|Brick Garden|Moon Maze|Neon Grid", "custom level list");
        const LRESULT neon =
            send(list, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(kSampleLevelFolders[0]));
        send(list, CB_SETCURSEL, neon);
        Sleep(200);
        shoot(levels, "quibbix-custom-levels");
        click(levels, IDOK);
        if (!expectEvent(HostEvent::kStart, "user*Neon Grid*-1", 1) ||
            !expectEvent(HostEvent::kRound, "user*Neon Grid*-1", 1))
            return false;

        step("Quibbix: a round played by the host");
        Sleep(200);
        shoot(main_, "quibbix-round");
        click(main_, kPlayButton);
        HWND name = waitFor("Quibbix Hall Of Fame", "Quibbix Hall of Fame", 3 * kDialogTimeoutMs);
        if (!name) return false;
        const std::string score = textOf(main_, kScoreEdit), level = textOf(main_, kLevelEdit);
        expectText(textOf(name, kScoreText), score.c_str(), "score in the name entry");
        typeInto(name, kNameField, "MAX");
        shoot(name, "quibbix-name-entry");
        click(name, IDOK);

        step("Quibbix: both tables, the new result in the custom one; Close");
        const Row randomTable[3] = {{"BOUNCE", "4", "3000"}, {}, {}};
        const Row userTable[3] = {{"MAX", level.c_str(), score.c_str()}, {}, {}};
        HWND fame = waitFor("Quibbix Hall of Fame");
        if (!fame) return false;
        expectText(textOf(fame, kScoreText), score.c_str(), "\"Your Score\"");
        expectShown(fame, kFirstRankText, randomTable, "random table");
        expectShown(fame, kFirstUserRankText, userTable, "custom table");
        expectStored(kSampleWorld, "Quibbix", "random", randomTable);
        expectStored(kSampleWorld, "Quibbix", "user", userTable);
        shoot(fame, "quibbix-hall-of-fame");
        click(fame, IDCANCEL);
        const std::string scoreString = "user*" + score + "*" + level;
        if (!expectEvent(HostEvent::kScore, scoreString.c_str(), 0)) return false;

        step("Quibbix: back at the start dialog, at Normal again; Cancel");
        start = waitFor("Quibbix Start Game Dialog");
        if (!start) return false;
        if (!isChecked(start, kNormal)) fail("Normal is not preselected the second time");
        click(start, IDCANCEL);
        return expectEvent(HostEvent::kStart, "", 0);
    }

    void checkUntouched() {
        step("The other world is as it was");
        const Row reef[3] = {{"REEF", "3", "2500"}, {}, {}};
        expectStored(kSampleOtherWorld, "Orvane", "default", reef);
        if (noticeFlag(kSampleOtherWorld) != 1) fail("the other world's notice flag changed");
    }

    Journal& journal_;
    const char* shots_;
    std::string sampleDir_;
    HWND main_ = nullptr;
    int nextEvent_ = 0;
    int shotsTaken_ = 0;
    int failures_ = 0;
    volatile bool hostDone_ = false;
};

DWORD WINAPI driverThread(void* driver) {
    static_cast<Driver*>(driver)->run();
    return 0;
}
}  // namespace

int runWalkthrough(const char* shotsDirectory) {
    HostKeySetAside aside;
    if (!aside.ok()) {
        fprintf(stderr, "Cannot set HKEY_LOCAL_MACHINE\\%s aside for the walk-through.\n", kHostKeyPath);
        return 1;
    }
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    char sampleDir[MAX_PATH];
    // A fixed name keeps the pictures alike from run to run; a leftover of a broken run goes first.
    snprintf(sampleDir, sizeof sampleDir, "%szorv-walkthrough", temp);
    removeSampleFiles(sampleDir);
    if (setupSample(sampleDir) != SampleSetup::kCreated) {
        fprintf(stderr, "Cannot create a sample installation in %s.\n", sampleDir);
        removeSampleFiles(sampleDir);
        return 1;
    }
    if (shotsDirectory) CreateDirectoryA(shotsDirectory, nullptr);
    printf("Walk-through in a fresh sample installation, %s\n", sampleDir);

    Journal journal;
    Driver driver(journal, shotsDirectory, sampleDir);
    HANDLE thread = CreateThread(nullptr, 0, driverThread, &driver, 0, nullptr);
    static const char* const kGames[] = {"orvane", "quibbix"};
    const int hostResult = thread ? playGames(kGames, 2, journal, true, kSeed) : 1;
    driver.hostDone();
    if (thread) {
        WaitForSingleObject(thread, 30000);
        CloseHandle(thread);
    }
    removeSampleFiles(sampleDir);

    const int failures = driver.failures() + (hostResult != 0);
    printf(failures ? "Walk-through FAILED: %i step(s) went wrong.\n" : "Walk-through passed.\n", failures);
    return failures ? 1 : 0;
}
