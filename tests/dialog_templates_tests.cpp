// Every dialog template of both plug-ins as the resource compiler left it in the built DLL:
// the resource compiler has been seen to drop style bits that a script line asks for.
#include <gtest/gtest.h>

#include <cstdio>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "Games.h"
#include "HallOfFameIds.h"
#include "Plugin.h"

namespace {
// Control styles as the platform's resource compiler gives its statements, plus what the rows add.
constexpr DWORD kPush = BS_PUSHBUTTON | WS_TABSTOP;
constexpr DWORD kDefault = BS_DEFPUSHBUTTON | WS_TABSTOP;
constexpr DWORD kBitmapButton = BS_PUSHBUTTON | BS_BITMAP | WS_TABSTOP;
constexpr DWORD kCentred = SS_CENTER | WS_GROUP;
constexpr DWORD kLeft = SS_LEFT | WS_GROUP;
constexpr DWORD kCentredBoth = SS_CENTER | SS_CENTERIMAGE | WS_GROUP;
// Texts from the store or the host are shown as they are: an "&" is no shortcut.
constexpr DWORD kStored = kCentred | SS_NOPREFIX;
constexpr DWORD kStoredScore = kCentredBoth | SS_NOPREFIX;

struct Control {
    int id;            // -1: none
    const char* kind;  // window class
    const char* text;  // null: a bitmap, by its resource id
    int bitmap;
    short x, y, cx, cy;
    DWORD style;  // beside WS_CHILD | WS_VISIBLE
};

Control text(int id, const char* kind, const char* text, short x, short y, short cx, short cy, DWORD style) {
    return {id, kind, text, 0, x, y, cx, cy, style};
}
Control picture(int bitmap, short x, short y, short cx, short cy) {
    return {-1, "Static", nullptr, bitmap, x, y, cx, cy, SS_BITMAP};
}

struct Template {
    const char* dll;
    int id;
    const char* caption;
    short cx, cy;
    std::vector<Control> controls;
};
Template dialog(const Game& game, const GameDialog& shown, short cx, short cy, std::vector<Control> controls) {
    return {game.dll, shown.templateId, shown.caption, cx, cy, std::move(controls)};
}

// A score table's nine cells, rank by rank, starting at the given control and row.
void addCells(std::vector<Control>& controls, int first, short y) {
    const short kColumns[] = {10, 94, 176};
    for (int cell = 0; cell < 9; ++cell)
        controls.push_back(text(first + cell, "Static", "", kColumns[cell % 3], y + 12 * (cell / 3), 72, 8, kStored));
}
void addHeadings(std::vector<Control>& controls, short y) {
    controls.push_back(text(-1, "Static", "Name", 10, y, 72, 8, kCentred));
    controls.push_back(text(-1, "Static", "Level", 94, y, 72, 8, kCentred));
    controls.push_back(text(-1, "Static", "Score", 178, y, 72, 8, kCentred));
}

// The upper part of both games' hall of fame: Close, the first table, the player's score and the hint.
std::vector<Control> hallOfFameTop(short closeY, short hintY, const char* hint) {
    std::vector<Control> controls = {text(2, "Button", "Close", 202, closeY, 50, 14, kPush)};
    addHeadings(controls, 131);
    addCells(controls, IDC_TABLE1_NAME1, 143);
    controls.push_back(text(-1, "Button", "", 7, 83, 244, 102, BS_GROUPBOX));
    controls.push_back(text(-1, "Button", "", 7, 45, 244, 38, BS_GROUPBOX));
    controls.push_back(text(-1, "Static", "Your Score", 113, 52, 36, 8, kLeft));
    controls.push_back(text(IDC_SCORE, "Static", "", 99, 62, 64, 14, kStoredScore));
    controls.push_back(text(-1, "Static", hint, 7, hintY, 245, 8, kCentred));
    return controls;
}

// The name-entry template; Quibbix's copy stands one unit lower, all but "GAME OVER".
std::vector<Control> nameEntry(short lower) {
    return {
        text(IDC_PLAYER_NAME, "Edit", "", 48, 69 + lower, 89, 14, WS_BORDER | ES_AUTOHSCROLL | WS_TABSTOP),
        text(1, "Button", "OK", 7, 92 + lower, 50, 14, kDefault),
        text(2, "Button", "Cancel", 129, 92 + lower, 50, 14, kPush),
        text(-1, "Static", "Your score has made the Hall Of Fame!", 7, 27 + lower, 172, 8, kCentred),
        text(IDC_SCORE, "Static", "", 48, 38 + lower, 89, 14, kStoredScore),
        text(-1, "Static", "Enter your name (Maximum 8 characters)", 7, 56 + lower, 172, 8, kCentred),
        text(IDC_GAME_OVER, "Static", "GAME OVER", 48, 7, 89, 14, kCentredBoth),
    };
}

std::vector<Template> orvaneTemplates() {
    auto hallOfFame = hallOfFameTop(204, 190, "HINT: Hold down right mouse button over enemy to fire rockets.");
    hallOfFame.push_back(text(1000, "Button", "Replay", 148, 204, 50, 14, kPush));
    hallOfFame.push_back(picture(103, 7, 7, 246, 35));
    hallOfFame.push_back(picture(125, 23, 91, 213, 30));
    return {
        dialog(kOrvane, kOrvane.start, 259, 145,
               {text(102, "Button", "Freeplay", 23, 61, 215, 35, kBitmapButton),
                text(2, "Button", "Cancel", 112, 123, 36, 14, kPush),
                text(-1, "Static", "HINT: Press Ctrl-S to quit Orvane", 35, 109, 189, 8, kCentred),
                picture(103, 7, 7, 245, 37)}),
        dialog(kOrvane, kOrvane.hallOfFame, 259, 226, hallOfFame),
        dialog(kOrvane, kOrvane.nameEntry, 186, 113, nameEntry(0)),
        dialog(kOrvane, kOrvane.notice, 186, 76,
               {text(1, "Button", "OK", 68, 55, 50, 14, kDefault),
                text(-1, "Static",
                     "You may experience a short delay in the loading and exiting of this game on systems with CPU "
                     "speeds below 1 GHz.",
                     7, 7, 172, 29, kLeft),
                text(1001, "Button", "Please do not show this message again.", 22, 38, 142, 10,
                     BS_AUTOCHECKBOX | BS_LEFT | WS_TABSTOP)}),
    };
}

std::vector<Template> quibbixTemplates() {
    auto hallOfFame = hallOfFameTop(308, 295, "HINT: Use different parts of your paddle to aim the ball.");
    addHeadings(hallOfFame, 236);
    addCells(hallOfFame, IDC_TABLE2_NAME1, 248);
    hallOfFame.push_back(text(-1, "Button", "", 7, 188, 244, 102, BS_GROUPBOX));
    hallOfFame.push_back(picture(103, 7, 7, 20, 20));
    hallOfFame.push_back(picture(106, 23, 90, 213, 30));
    hallOfFame.push_back(picture(134, 23, 199, 213, 30));
    hallOfFame.push_back(text(3, "Button", "Replay", 145, 308, 50, 14, kPush));
    return {
        dialog(kQuibbix, kQuibbix.hallOfFame, 259, 330, hallOfFame),
        dialog(kQuibbix, kQuibbix.nameEntry, 186, 114, nameEntry(1)),
        dialog(kQuibbix, kQuibbix.start, 259, 207,
               {text(102, "Button", "Random", 23, 61, 215, 35, kBitmapButton),
                text(2, "Button", "Cancel", 112, 186, 36, 14, kPush),
                text(-1, "Static", "HINT: Press Ctrl-S to quit Quibbix", 35, 171, 189, 8, kCentred),
                text(104, "Button", "User", 23, 102, 215, 35, kBitmapButton), picture(103, 7, 7, 246, 35),
                // The speed group runs from its label to the end: no radio button starts one.
                text(-1, "Static", "Ball Speed", 7, 145, 246, 8, kCentred),
                text(1002, "Button", "Slow", 58, 156, 38, 10, BS_AUTORADIOBUTTON),
                text(1003, "Button", "Normal", 109, 156, 38, 10, BS_AUTORADIOBUTTON),
                text(1004, "Button", "Fast", 160, 156, 38, 10, BS_AUTORADIOBUTTON)}),
        dialog(kQuibbix, kQuibbix.customLevels, 186, 92,
               {text(1, "Button", "OK", 129, 53, 50, 14, kDefault), text(2, "Button", "Cancel", 129, 71, 50, 14, kPush),
                text(1000, "ComboBox", "", 7, 53, 111, 59, CBS_DROPDOWN | CBS_SORT | WS_VSCROLL | WS_TABSTOP),
                text(-1, "Static", "Select the source folder for custom level bitmaps:", 7, 37, 172, 12, kLeft),
                text(-1, "Static", "The base folder for custom level bitmap is:", 7, 7, 172, 12, kLeft),
                text(1001, "Static", "", 7, 21, 172, 8, kStored)}),
    };
}

// Reads a template's words, failing (never reading past its end) when it is cut short.
struct TemplateReader {
    const BYTE* data;
    DWORD size;
    DWORD at = 0;
    bool ok = true;

    bool need(DWORD bytes) { return ok = ok && at + bytes <= size; }
    WORD word() {
        WORD value = 0;
        if (need(2)) memcpy(&value, data + at, 2);
        at += 2;
        return value;
    }
    DWORD dword() {
        const DWORD low = word();
        return low | static_cast<DWORD>(word()) << 16;
    }
    short coordinate() { return static_cast<short>(word()); }
    // x, y, cx, cy
    std::vector<short> place() { return {coordinate(), coordinate(), coordinate(), coordinate()}; }
    void alignToDword() { at = ok ? (at + 3) & ~3u : at; }
    void skip(DWORD bytes) { at += need(bytes) ? bytes : 0; }
    std::string string() {
        std::string text;
        for (WORD c = word(); ok && c; c = word()) text += c < 0x80 ? static_cast<char>(c) : '?';
        return text;
    }
    // A name or a resource number: the number is given as "#n".
    std::string nameOrNumber() {
        if (need(2) && data[at] == 0xff && data[at + 1] == 0xff) {
            at += 2;
            return "#" + std::to_string(word());
        }
        return string();
    }
};

std::string className(const std::string& name) {
    static const char* const kPredefined[] = {"Button", "Edit", "Static", "ListBox", "ScrollBar", "ComboBox"};
    for (int atom = 0x80; atom <= 0x85; ++atom)
        if (name == "#" + std::to_string(atom) || _stricmp(name.c_str(), kPredefined[atom - 0x80]) == 0)
            return kPredefined[atom - 0x80];
    return name;
}

void PrintTo(const Template& shown, std::ostream* out) { *out << shown.dll << " template " << shown.id; }

std::string hex(DWORD value) {
    char text[16];
    snprintf(text, sizeof text, "%08lx", static_cast<unsigned long>(value));
    return text;
}

class DialogTemplate : public ::testing::TestWithParam<Template> {};
}  // namespace

TEST_P(DialogTemplate, IsWhatTheGameShows) {
    const Template& expected = GetParam();
    Plugin plugin(expected.dll);
    ASSERT_NE(plugin.module, nullptr);
    HRSRC found = FindResourceA(plugin.module, MAKEINTRESOURCEA(expected.id), reinterpret_cast<LPCSTR>(RT_DIALOG));
    ASSERT_NE(found, nullptr) << "template " << expected.id;
    HGLOBAL loaded = LoadResource(plugin.module, found);
    ASSERT_NE(loaded, nullptr);
    TemplateReader in{static_cast<const BYTE*>(LockResource(loaded)), SizeofResource(plugin.module, found)};

    const DWORD dialogStyle = in.dword();
    ASSERT_NE(dialogStyle >> 16, 0xffffu) << "an extended template";
    // Every one is hidden until the framework shows it initialised, and placed by the framework.
    EXPECT_EQ(hex(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT), hex(dialogStyle));
    EXPECT_EQ(0u, in.dword()) << "extended style";
    const WORD count = in.word();
    EXPECT_EQ((std::vector<short>{0, 0, expected.cx, expected.cy}), in.place());
    EXPECT_EQ("", in.nameOrNumber()) << "menu";
    EXPECT_EQ("", in.nameOrNumber()) << "window class";
    EXPECT_EQ(expected.caption, in.string());
    EXPECT_EQ(8, in.word()) << "font size";
    EXPECT_EQ("MS Sans Serif", in.string());
    ASSERT_TRUE(in.ok) << "template cut short in its header";
    ASSERT_EQ(expected.controls.size(), count);

    for (const Control& control : expected.controls) {
        SCOPED_TRACE("control " + std::to_string(&control - expected.controls.data()) + ", id " +
                     std::to_string(control.id) + " " + (control.text ? control.text : "(bitmap)"));
        in.alignToDword();
        const DWORD style = in.dword(), want = WS_CHILD | WS_VISIBLE | control.style;
        EXPECT_EQ(hex(want), hex(style)) << "missing " << hex(want & ~style) << ", extra " << hex(style & ~want);
        in.dword();  // extended style
        EXPECT_EQ((std::vector<short>{control.x, control.y, control.cx, control.cy}), in.place());
        EXPECT_EQ(control.id, static_cast<short>(in.word()));
        EXPECT_EQ(control.kind, className(in.nameOrNumber()));
        EXPECT_EQ(control.text ? control.text : "#" + std::to_string(control.bitmap), in.nameOrNumber());
        in.skip(in.word());
        ASSERT_TRUE(in.ok) << "template cut short";
    }
}

std::string byId(const ::testing::TestParamInfo<Template>& info) { return std::to_string(info.param.id); }
INSTANTIATE_TEST_SUITE_P(Orvane, DialogTemplate, ::testing::ValuesIn(orvaneTemplates()), byId);
INSTANTIATE_TEST_SUITE_P(Quibbix, DialogTemplate, ::testing::ValuesIn(quibbixTemplates()), byId);
