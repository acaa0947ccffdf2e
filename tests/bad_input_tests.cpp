// Hostile input: generated score strings, start strings into buffers of their exact size, and
// registry data of every wrong kind, each placed against a page that cannot be touched.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "CurrentWorld.h"
#include "DialogDriver.h"
#include "EntryRuns.h"
#include "Games.h"
#include "GuardedBuffer.h"
#include "HostSettings.h"
#include "Installation.h"
#include "Interceptors.h"
#include "Plugin.h"
#include "ScoreString.h"
#include "quibbix/resource.h"

namespace {
const std::string kHugeMode(64 * 1024, 'm');
const std::string kNines(5000, '9');

// What the host's score string gives: fields lie between runs of '*', the '*' that ends each of
// the first three becomes a terminator (marked '|' in after), and msvcrt's atoi under Wine keeps
// the low 32 bits of a number too large.
struct Split {
    std::string text, mode;
    int score, level;
    std::string after;
};

const std::vector<Split> kSplits = {
    {"", "", 0, 0, ""},
    {"*", "", 0, 0, "*"},
    {"***", "", 0, 0, "***"},
    {"default", "default", 0, 0, "default"},
    {"12345", "12345", 0, 0, "12345"},
    {" ", " ", 0, 0, " "},
    {"default*", "default", 0, 0, "default|"},
    {"default**5", "default", 5, 0, "default|*5"},
    {"*default*5*3*", "default", 5, 3, "*default|5|3|"},
    {"default*1500*3", "default", 1500, 3, "default|1500|3"},
    {"random***-7**2***", "random", -7, 2, "random|**-7|*2|**"},
    {"user*alpha*0", "user", 0, 0, "user|alpha|0"},
    {"default*1*2*3*4", "default", 1, 2, "default|1|2|3*4"},
    {"default* * ", "default", 0, 0, "default| | "},
    {"default*2147483647*-2147483648", "default", 2147483647, -2147483647 - 1, "default|2147483647|-2147483648"},
    {"default*2147483648*-2147483649", "default", -2147483647 - 1, 2147483647, "default|2147483648|-2147483649"},
    {"default*4294967296*4294967295", "default", 0, -1, "default|4294967296|4294967295"},
    {"default*-4294967297*18446744073709551617", "default", -1, 1, "default|-4294967297|18446744073709551617"},
    {"default*99999999999999999999*00000000002147483647", "default", 1661992959, 2147483647,
     "default|99999999999999999999|00000000002147483647"},
    {"default* \t\n+42*\v\f\r7", "default", 42, 7, "default| \t\n+42|\v\f\r7"},
    {"default*+-5*- 5", "default", 0, 0, "default|+-5|- 5"},
    {"default*0x7f*1e9", "default", 0, 1, "default|0x7f|1e9"},
    {"default*3.75*12abc", "default", 3, 12, "default|3.75|12abc"},
    {"default*1 2*+0", "default", 1, 0, "default|1 2|+0"},
    {"\xe9t\xe9*\xa0+5*\xff-3", "\xe9t\xe9", 0, 0, "\xe9t\xe9|\xa0+5|\xff-3"},
    {kHugeMode, kHugeMode, 0, 0, kHugeMode},
    {kHugeMode + "*1500*3", kHugeMode, 1500, 3, kHugeMode + "|1500|3"},
    {kHugeMode + "*" + kNines + "*-7", kHugeMode, -1, -7, kHugeMode + "|" + kNines + "|-7"},
};

// The caller's bytes after a split, terminator included.
std::string withTerminators(std::string marked) {
    std::replace(marked.begin(), marked.end(), '|', '\0');
    return marked + '\0';
}

// Whatever the string, a split only ends fields: at most three of its '*' become terminators
// and no other byte changes.
bool onlyFieldsEnded(const std::string& text, const char* buffer) {
    int ended = 0;
    for (size_t i = 0; i < text.size(); ++i)
        if (buffer[i] != text[i]) {
            if (text[i] != '*' || buffer[i] != '\0') return false;
            ++ended;
        }
    return ended <= 3 && buffer[text.size()] == '\0';
}

// Deterministic, so that a failing string comes back on every run.
struct Random {
    uint32_t state = 0x9e3779b9;
    size_t below(size_t n) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state % n;
    }
};

std::string digits(Random& r, size_t count) {
    std::string text;
    while (count--) text += static_cast<char>('0' + r.below(10));
    return text;
}

// Any byte but the separator and the terminator: letters, digits, blanks, signs, high bytes.
std::string junk(Random& r, size_t count) {
    std::string text;
    while (text.size() < count)
        if (const char c = static_cast<char>(1 + r.below(255)); c != '*') text += c;
    return text;
}

std::string field(Random& r) {
    static const char* const kEdges[] = {
        "0",           "-0",         "+0",         "2147483647",           "2147483648",           "-2147483648",
        "-2147483649", "4294967295", "4294967296", "-4294967297",          "99999999999999999999", "0x7f",
        "1e9",         "3.75",       "12abc",      "00000000002147483647", "18446744073709551617", "1 2"};
    std::string text;
    if (r.below(4) == 0) text += std::string(1 + r.below(3), " \t\n\v\f\r"[r.below(6)]);
    if (r.below(3) == 0) text += "+-"[r.below(2)];
    if (r.below(10) == 0) text += "+- "[r.below(3)];
    const size_t kind = r.below(5);  // 0: none
    if (kind == 1) text += kEdges[r.below(sizeof kEdges / sizeof *kEdges)];
    if (kind == 2) text += digits(r, 1 + r.below(12));
    if (kind == 3) text += digits(r, 10 + r.below(300));
    if (kind == 4) text += junk(r, 1 + r.below(8));
    if (r.below(3) == 0) text += junk(r, 1 + r.below(4));
    return text;
}

std::string stars(Random& r) { return std::string(r.below(4) ? 1 : 2 + r.below(3), '*'); }

std::string scoreString(Random& r) {
    static const char* const kModes[] = {"default", "random", "user", "Random", "USER", ""};
    std::string text = r.below(5) == 0 ? stars(r) : "";
    const size_t fields = r.below(6);
    for (size_t i = 0; i < fields; ++i) {
        if (i) text += stars(r);
        if (i > 0 || r.below(3) == 0)
            text += field(r);
        else if (r.below(8) == 0)
            text += junk(r, 100 + r.below(2000));
        else
            text += kModes[r.below(sizeof kModes / sizeof *kModes)];
    }
    if (r.below(5) == 0) text += stars(r);
    return text;
}

std::vector<std::string> generatedStrings() {
    std::vector<std::string> strings;
    Random r;
    for (int i = 0; i < 12000; ++i) strings.push_back(scoreString(r));
    return strings;
}

// Printable, and short enough for a failure message.
std::string shown(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size() && i < 60; ++i) {
        const unsigned char c = text[i];
        char escaped[8];
        snprintf(escaped, sizeof escaped, c >= 32 && c < 127 ? "%c" : "\\x%02x", c);
        out += escaped;
    }
    if (text.size() > 60) out += "... (" + std::to_string(text.size()) + " bytes)";
    return "\"" + out + "\"";
}

TEST(BadScoreStrings, SplitGivesEachFieldInPlace) {
    GuardedBuffer guarded(kHugeMode.size() + kNines.size() + 16);
    volatile size_t probe = strlen(guarded.fill(4, 'x'));  // the guard itself must catch a read one past
    EXPECT_EQ(1, guarded.violations()) << probe;
    for (const Split& split : kSplits) {
        char* buffer = guarded.place(split.text.c_str(), split.text.size() + 1);
        CString mode("stale");
        int score = 0x5a5a5a5a, level = 0x5a5a5a5a;
        splitScoreString(buffer, mode, score, level);
        const std::string where = shown(split.text), after(buffer, split.text.size() + 1);
        EXPECT_EQ(0, guarded.violations()) << where;
        EXPECT_TRUE(split.mode == static_cast<const char*>(mode))
            << where << ": " << shown(static_cast<const char*>(mode));
        EXPECT_EQ(split.score, score) << where;
        EXPECT_EQ(split.level, level) << where;
        EXPECT_TRUE(withTerminators(split.after) == after) << where << " left " << shown(after);
    }
}

TEST(BadScoreStrings, GeneratedStringsAreSplitWithinThemselves) {
    const std::vector<std::string> strings = generatedStrings();
    size_t longest = 0;
    for (const std::string& text : strings) longest = std::max(longest, text.size());
    GuardedBuffer guarded(longest + 1);
    int outside = 0, altered = 0;
    for (const std::string& text : strings) {
        char* buffer = guarded.place(text.c_str(), text.size() + 1);
        CString mode;
        int score = 0, level = 0;
        splitScoreString(buffer, mode, score, level);
        const int faults = guarded.violations();
        const bool kept = onlyFieldsEnded(text, buffer);
        outside += faults != 0;
        altered += !kept;
        if ((faults || !kept) && outside + altered <= 5)
            ADD_FAILURE() << shown(text) << ": " << faults << " faults, left "
                          << shown(std::string(buffer, text.size() + 1));
    }
    EXPECT_EQ(0, outside);
    EXPECT_EQ(0, altered);
    printf("[ score strings ] %zu generated, %d out of bounds, %d altered\n", strings.size(), outside, altered);
}

const char* const kWorld = "dZORV_Bad";

struct Seen {
    std::string asked, shown;
    int boxes = 0;
};

// Answers the score entry point until its hall of fame has been read and closed: the name
// entry with OK and no name, refused writes' message boxes with OK.
void answer(const Game& game, Seen& seen) {
    std::set<HWND> answered;
    for (DWORD start = GetTickCount(); GetTickCount() - start < 10000; Sleep(5)) {
        for (HWND window : driver::windowsOfProcess()) {
            if (answered.count(window) || !driver::visible(window)) continue;
            const std::string caption = driver::text(window);
            if (caption == game.nameEntry.caption) {
                seen.asked = driver::text(window, IDC_SCORE);
                driver::click(window, IDOK);
            } else if (caption == "ZORV Error") {
                ++seen.boxes;
                PostMessageA(window, WM_COMMAND, IDOK, 0);
            } else if (caption == game.hallOfFame.caption) {
                seen.shown = driver::text(window, IDC_SCORE);
                return driver::click(window, IDCANCEL);
            } else {
                continue;
            }
            answered.insert(window);
        }
    }
    ADD_FAILURE() << "no hall of fame";
}

DWORD valuesIn(const char* world) {
    HKEY key = nullptr;
    DWORD count = 0;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, ("SOFTWARE\\ZORV\\" + std::string(world)).c_str(), 0, KEY_READ, &key))
        return 0;
    RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr,
                     nullptr);
    RegCloseKey(key);
    return count;
}

// Through both plug-ins, each on an empty table, so a positive score is recorded; a sample of
// the generated strings besides, for the bounds.
TEST(BadScoreStrings, EntryPointsOfBothPluginsParseInPlace) {
    const std::vector<std::string> generated = generatedStrings();
    std::vector<std::string> sample;
    for (size_t i = 0; i < generated.size(); i += 1000) sample.push_back(generated[i]);
    Installation install;
    install.addWorld(kWorld);
    install.setCurrentWorld(kWorld);
    GuardedBuffer guarded(kHugeMode.size() + kNines.size() + 16);
    for (const Game* game : kGames) {
        Plugin plugin(game->dll);
        ASSERT_NE(nullptr, plugin.score);
        // The score entry point on an empty table; the caller's bytes after it.
        auto score = [&](const std::string& text, Seen& seen) {
            reg::deleteTree(kWorld);
            reg::createKey(kWorld);
            char* buffer = guarded.place(text.c_str(), text.size() + 1);
            ScriptedRun run([&] { answer(*game, seen); });
            EXPECT_EQ(0, plugin.score(buffer, 0)) << game->name << " " << shown(text);
            run.finish();
            EXPECT_EQ(0, guarded.violations()) << game->name << " " << shown(text);
            return std::string(buffer, text.size() + 1);
        };
        for (const Split& split : kSplits) {
            Seen seen;
            const std::string where = std::string(game->name) + " " + shown(split.text);
            EXPECT_TRUE(withTerminators(split.after) == score(split.text, seen)) << where;
            EXPECT_EQ(std::to_string(split.score), seen.shown) << where;
            const std::string stored = scoreValueName<std::string>(game->name, split.mode.c_str(), 1, 0);
            if (split.score <= 0) {
                EXPECT_EQ("", seen.asked) << where;
                EXPECT_FALSE(reg::get(kWorld, stored.c_str()).exists) << where;
            } else if (split.mode.size() < 16000) {
                EXPECT_EQ(std::to_string(split.score), seen.asked) << where;
                EXPECT_EQ(std::to_string(split.level), reg::text(kWorld, stored.c_str())) << where;
            } else {
                // No value can be named after such a mode: every write is refused, none lands elsewhere.
                EXPECT_EQ(3, seen.boxes) << where;
                EXPECT_EQ(0u, valuesIn(kWorld)) << where;
            }
        }
        for (const std::string& text : sample) {
            Seen seen;
            EXPECT_TRUE(onlyFieldsEnded(text, score(text, seen).c_str())) << game->name << " " << shown(text);
        }
    }
}

TEST(StartStringBuffers, OrvaneWritesItsEightBytesOrNothing) {
    Installation install;
    install.addWorld(kWorld);
    install.setCurrentWorld(kWorld);
    reg::setDword(kWorld, "NoShowOrvaneInfoDlg", 1);
    Plugin plugin("orvane.dll");
    GuardedBuffer guarded(8);
    char* buffer = guarded.fill(8, 0xbd);
    EXPECT_TRUE(runStart(plugin, buffer, kOrvane.start.caption, clicks({kOrvane.start.button})));
    EXPECT_EQ(0, guarded.violations());
    EXPECT_EQ(0, memcmp(buffer, "default", 8));
    EXPECT_FALSE(runStart(plugin, guarded.fill(0, 0), kOrvane.start.caption, clicks({IDCANCEL})));
    EXPECT_EQ(0, guarded.violations());
}

TEST(StartStringBuffers, QuibbixWritesExactlyTheStartString) {
    Installation install;
    install.addFolder("games");
    install.addFolder("games\\quibbix");
    const std::string longest = "a" + std::string(250, 'x');  // the start string then fills 260 bytes
    ASSERT_TRUE(install.addFolder(L"games\\quibbix\\" + std::wstring(longest.begin(), longest.end())));
    struct Case {
        std::vector<int> before;  // clicks before Random or User
        int listed;               // -1: Random, else the custom set at this place in the list
        std::string expected;
    };
    const std::vector<Case> cases = {
        {{}, -1, "random*0"},
        {{IDC_SLOW}, -1, "random*-1"},
        {{IDC_FAST}, -1, "random*1"},
        {{}, 0, "user*Vellomy*0"},
        {{IDC_SLOW}, 0, "user*Vellomy*-1"},
        {{IDC_SLOW}, 1, "user*" + longest + "*-1"},
        {{IDC_FAST}, 1, "user*" + longest + "*1"},
    };
    Plugin plugin("quibbix.dll");
    GuardedBuffer guarded(260);
    for (const Case& c : cases) {
        char* buffer = guarded.fill(c.expected.size() + 1, 0xbd);
        EXPECT_TRUE(runStart(plugin, buffer, kQuibbix.start.caption, [&c](HWND start) {
            clicks(c.before)(start);
            if (c.listed < 0) return driver::click(start, IDC_RANDOM);
            driver::click(start, IDC_USER);
            if (HWND levels = driver::waitFor(kQuibbix.customLevels.caption)) {
                SendMessageA(driver::item(levels, IDC_FOLDER_LIST), CB_SETCURSEL, c.listed, 0);
                driver::click(levels, IDOK);
            }
        })) << c.expected;
        EXPECT_EQ(0, guarded.violations()) << c.expected;
        EXPECT_EQ(c.expected + '\0', std::string(buffer, c.expected.size() + 1)) << c.expected;
    }
    EXPECT_FALSE(runStart(plugin, guarded.fill(0, 0), kQuibbix.start.caption, clicks({IDC_FAST, IDCANCEL})));
    EXPECT_EQ(0, guarded.violations());
}

using namespace std::string_literals;

struct Stored {
    DWORD type;
    std::string bytes;
};

// The host's values as the registry holds them, read by the shared code through the real registry.
struct WrongRegistryData : ::testing::Test {
    Installation install;
    Interceptors calls{GetModuleHandleA("zorvcore.dll")};
    GuardedBuffer guarded{4096};

    void SetUp() override {
        ASSERT_TRUE(calls.installed());
        install.addWorld("Home");
        install.addWorld("dZORV_a");
    }
    void TearDown() override { EXPECT_TRUE(calls.allClosedBut()); }

    void store(const char* subkey, const char* name, const Stored& value) {
        ASSERT_TRUE(reg::setBytes(subkey, name, value.type, value.bytes.data(), DWORD(value.bytes.size())));
    }
    // The text in a buffer of 0xbd that ends at the guard; "(unterminated)" if it has none.
    std::string terminated(const char* buffer, size_t size) {
        EXPECT_EQ(0, guarded.violations());
        return memchr(buffer, 0, size) ? std::string(buffer) : "(unterminated)";
    }
    // The world value as read into a buffer of 0xbd of this size that ends at the guard.
    char* readValue(const char* name, DWORD size) {
        char* buffer = guarded.fill(size, 0xbd);
        readWorldValue(name, buffer, size);
        return buffer;
    }
};

TEST_F(WrongRegistryData, MainDirOfEveryKindIsTerminatedWithin260Bytes) {
    const std::string full(258, 'f');
    // The directory read, or "" when there is none.
    const std::vector<std::pair<Stored, std::string>> cases = {
        {{REG_MULTI_SZ, "C:\\A\0B\0\0"s}, "C:\\A\\"},
        {{REG_QWORD, "C:\\Host\0"s}, "C:\\Host\\"},
        {{REG_DWORD_BIG_ENDIAN, "abcd"}, "abcd\\"},
        {{REG_BINARY, "\\"}, "\\"},
        {{REG_BINARY, full + '\0'}, full + "\\"},  // the limit exactly: 260 bytes with the backslash
        {{REG_BINARY, std::string(258, 'g') + '\\'}, ""},
        {{REG_BINARY, std::string(259, 'h') + '\0'}, ""},
        {{REG_BINARY, "\0abc"s}, ""},
        {{REG_NONE, ""}, ""},
    };
    for (const auto& c : cases) {
        store("", "MainDir", c.first);
        char* buffer = guarded.fill(260, 0xbd);
        const bool read = getInstallDir(buffer);
        EXPECT_EQ(c.second, read ? terminated(buffer, 260) : "") << shown(c.first.bytes);
        EXPECT_EQ(0, guarded.violations());
    }
}

TEST_F(WrongRegistryData, CurrMovieOfEveryKindNamesAWorldOrIsRepaired) {
    const std::vector<Stored> cases = {
        {REG_BINARY, "Home"},
        {REG_DWORD, "Home"},
        {REG_EXPAND_SZ, "Home\0"s},
        {REG_MULTI_SZ, "Home\0Away\0\0"s},
        {REG_NONE, ""},
        {REG_BINARY, "\0Home"s},
        {REG_BINARY, std::string(127, 'w') + '\0'},       // exactly the limit, naming no world
        {REG_BINARY, "Home\0"s + std::string(200, 'x')},  // too large, whatever it starts with
    };
    for (const Stored& value : cases) {
        store("", "CurrMovie", value);
        char* buffer = guarded.fill(260, 0xbd);
        getCurrentWorld(buffer);
        const bool stands = &value < &cases[4];
        EXPECT_EQ(stands ? "Home" : "dZORV_a", terminated(buffer, 260)) << shown(value.bytes);
    }
    EXPECT_EQ(4u, calls.writes().size());
}

TEST_F(WrongRegistryData, WorldValuesOfEveryKindFitTheirBuffers) {
    install.setCurrentWorld("Home");
    struct Case {
        Stored value;
        DWORD size;
        const char* expected;
    };
    const std::vector<Case> cases = {
        {{REG_MULTI_SZ, "ab\0cd\0\0"s}, 16, "ab"},
        {{REG_EXPAND_SZ, "%PATH%\0"s}, 16, "%PATH%"},
        {{REG_BINARY, "ab\0cd"s}, 16, "ab"},
        {{REG_NONE, ""}, 16, ""},
        {{REG_QWORD, "1234567\0"s}, 8, "1234567"},
        {{REG_QWORD, "1234567\0"s}, 4, ""},
        {{REG_DWORD_BIG_ENDIAN, "abc\0"s}, 4, "abc"},
        {{REG_BINARY, "x"}, 1, ""},
        {{REG_SZ, std::string(64 * 1024, 'v') + '\0'}, 32, ""},
    };
    for (const Case& c : cases) {
        store("Home", "Value", c.value);
        EXPECT_EQ(c.expected, terminated(readValue("Value", c.size), c.size))
            << shown(c.value.bytes) << " into " << c.size;
    }
}

// Value names as long as the registry allows, and longer: never cut short onto another value.
TEST_F(WrongRegistryData, OversizeValueNamesAreRefusedWhole) {
    install.setCurrentWorld("Home");
    const std::string longest(16383, 'n');
    reg::setString("Home", longest.c_str(), "kept");
    reg::setString("Home", "Orvan", "short");
    EXPECT_EQ("kept", terminated(readValue(longest.c_str(), 16), 16));
    for (size_t length : {16384u, 65536u + 5u, 70000u}) {
        const std::string name = "Orvan" + std::string(length - 5, 'n');
        EXPECT_EQ(std::string(16, '\0'), std::string(readValue(name.c_str(), 16), 16)) << length;
        EXPECT_EQ(0, guarded.violations());
        writeWorldValue(name.c_str(), "overwritten");
    }
    EXPECT_EQ("short", reg::text("Home", "Orvan"));
    EXPECT_EQ(3u, calls.boxes().size());

    writeWorldValue("Big", std::string(64 * 1024, 'b').c_str());
    EXPECT_EQ(64u * 1024, reg::text("Home", "Big").size());
    EXPECT_EQ(std::string(32, '\0'), std::string(readValue("Big", 32), 32));
    EXPECT_EQ(0, guarded.violations());
}

}  // namespace
