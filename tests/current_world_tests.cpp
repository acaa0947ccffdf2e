// Resolving and repairing the current world, and the values kept under its key, against the
// real registry and real folders.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "CurrentWorld.h"
#include "Installation.h"
#include "Interceptors.h"
#include "ScoreTable.h"
#include "SharedCodeTest.h"
#include "TableLock.h"
#include "TraceFile.h"

namespace {
using Lines = std::vector<std::string>;
const char kPattern[] = "Desktops\\dZORV_*";
const char kSearching[] = "getCurrentWorld searching for valid ZORV world";
const char kNoWorlds[] = "No ZORV Worlds are installed";

struct CurrentWorld : SharedCodeTest<Installation> {
    // The world "Home", current.
    void atHome() {
        home.addWorld("Home");
        home.setCurrentWorld("Home");
    }

    std::string notFound(const std::string& world) const {
        return "ERROR could not find world " + home.dir() + "Desktops\\" + world + "\\" + world + ".dcr";
    }
    Lines repaired(const std::string& world) const {
        return {kSearching, "getCurrentWorld set default world " + world, "getCurrentWorld returning " + world};
    }
};

template <typename T>
std::vector<T> operator+(std::vector<T> first, const std::vector<T>& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

std::string resolve(const char* initial = nullptr) { return intoPath(getCurrentWorld, initial); }

// readWorldValue into size bytes of 0xbd followed by spare ones; all size bytes come back.
std::string readValue(const char* name, DWORD size = 8) {
    std::vector<unsigned char> buffer(size + 4, 0xbd);
    readWorldValue(name, reinterpret_cast<char*>(buffer.data()), size);
    for (size_t i = size; i < buffer.size(); ++i)
        if (buffer[i] != 0xbd) return "(wrote past the buffer)";
    return std::string(buffer.begin(), buffer.begin() + size);
}

std::string padded(const char* text, size_t size = 8) { return (text + std::string(size, '\0')).substr(0, size); }

std::string terminated(const std::string& text) { return text + std::string(1, '\0'); }

FoundEntry folder(const char* name) { return {name, true}; }
}  // namespace

TEST_F(CurrentWorld, InstalledStoredWorldStandsUnwritten) {
    home.addWorld("dZORV_first");
    atHome();
    EXPECT_EQ("Home", resolve());
    EXPECT_EQ((Lines{"getCurrentWorld returning Home"}), trace.messages());
    EXPECT_TRUE(calls.writes().empty());
    EXPECT_EQ(terminated("Home"), reg::get("", "CurrMovie").data);
}

TEST_F(CurrentWorld, FirstQualifyingFolderInTheSearchsOrderWins) {
    home.addWorld("dZORV_a");
    home.addWorld("dZORV_b");
    home.addWorld("dZORV_empty", false);
    home.addFile("Desktops\\dZORV_file");
    home.setCurrentWorld("Gone");
    const std::vector<FoundEntry> skipped = {folder("."), folder(".."), {"dZORV_file", false}, folder("dZORV_empty")};
    calls.pinSearch(kPattern, skipped + std::vector<FoundEntry>{folder("dZORV_b"), folder("dZORV_a")});
    EXPECT_EQ("dZORV_b", resolve());
    EXPECT_EQ((Lines{notFound("Gone"), "Will search for world"} + repaired("dZORV_b")), trace.messages());
    EXPECT_EQ(terminated("dZORV_b"), reg::get("", "CurrMovie").data);

    home.setCurrentWorld("Gone");
    calls.pinSearch(kPattern, skipped + std::vector<FoundEntry>{folder("dZORV_a"), folder("dZORV_b")});
    EXPECT_EQ("dZORV_a", resolve());
    EXPECT_EQ(terminated("dZORV_a"), reg::get("", "CurrMovie").data);
    ASSERT_EQ(2u, calls.writes().size());
    const ValueWrite& write = calls.writes()[1];
    EXPECT_EQ("CurrMovie", write.name);
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), write.type);
    EXPECT_EQ(terminated("dZORV_a"), write.data);  // the terminator is counted

    EXPECT_EQ("dZORV_a", resolve());  // the repair holds: no search
    EXPECT_EQ(2u, calls.writes().size());
}

TEST_F(CurrentWorld, MissingCurrMovieIsWarnedAboutAndCreated) {
    home.addWorld("dZORV_only");
    EXPECT_EQ("dZORV_only", resolve());
    EXPECT_EQ((Lines{"WARNING could not read current world from Registry!", notFound(""), "Will search for world"} +
               repaired("dZORV_only")),
              trace.messages());
    EXPECT_EQ(terminated("dZORV_only"), reg::get("", "CurrMovie").data);
}

TEST_F(CurrentWorld, CurrMovieIsReadUpTo127Characters) {
    home.addWorld("dZORV_only");
    const std::string longest(127, 'w');
    home.setCurrentWorld(longest.c_str());
    resolve();
    ASSERT_FALSE(trace.messages().empty());
    EXPECT_EQ(notFound(longest), trace.messages()[0]);  // longer than 260, and whole

    const std::string tooLong(128, 'w');
    home.setCurrentWorld(tooLong.c_str());
    resolve();
    reg::setString("", "CurrMovie", tooLong.c_str(), REG_SZ, false);  // fills the limit, no terminator
    resolve();
    const Lines lines = trace.messages();
    EXPECT_EQ(2, std::count_if(lines.begin(), lines.end(),
                               [](const std::string& line) { return line.rfind("WARNING", 0) == 0; }));
}

// What a host leaves when it stores a fixed buffer: the name, its zero, then other bytes.
TEST_F(CurrentWorld, BytesAfterTheTerminatorLeaveTheStoredWorldStanding) {
    home.addWorld("dZORV_other");
    home.addWorld("Home");
    std::string fixed = terminated("Home") + std::string(123, 'z');
    ASSERT_EQ(128u, fixed.size());
    reg::setBytes("", "CurrMovie", REG_SZ, fixed.data(), 128);
    reg::setBytes("Home", "Name1", REG_SZ, "ACE\0junk", 8);
    EXPECT_EQ("Home", resolve());
    EXPECT_EQ((Lines{"getCurrentWorld returning Home"}), trace.messages());
    EXPECT_EQ("ACE", std::string(readValue("Name1").c_str()));
    EXPECT_TRUE(calls.writes().empty());
    EXPECT_EQ(fixed, reg::get("", "CurrMovie").data);
}

TEST_F(CurrentWorld, ChosenNameTooLongToReadBackIsSearchedForEveryTime) {
    const std::string name = "dZORV_" + std::string(122, 'n');
    home.addFolder("Desktops\\" + name);
    home.setCurrentWorld("Gone");
    EXPECT_EQ(name, resolve());
    EXPECT_EQ(terminated(name), reg::get("", "CurrMovie").data);
    EXPECT_EQ(name, resolve());
    EXPECT_EQ(2u, calls.writes().size());
    EXPECT_EQ("WARNING could not read current world from Registry!", trace.messages().at(5));
}

TEST_F(CurrentWorld, FoldersWithoutTheirMovieLeaveTheLastOneTried) {
    home.addWorld("dZORV_a", false);
    home.addWorld("dZORV_b", false);
    home.setCurrentWorld("Gone");
    calls.pinSearch(kPattern, {folder("dZORV_a"), folder("dZORV_b"), {"dZORV_c", false}});
    EXPECT_EQ("dZORV_b", resolve());
    EXPECT_EQ(terminated("dZORV_b"), reg::get("", "CurrMovie").data);
    resolve();
    EXPECT_EQ((Lines{notFound("dZORV_b"), "Will search for world"} + repaired("dZORV_b")), traced(5));
}

TEST_F(CurrentWorld, NothingMatchingShowsTheBoxOnEveryAccess) {
    boxesExpected = true;
    home.setCurrentWorld("Gone");
    EXPECT_EQ("", resolve());
    EXPECT_EQ((Lines{notFound("Gone"), "Will search for world", kSearching, "ERROR No ZORV Worlds are installed"}),
              trace.messages());
    ASSERT_EQ(1u, calls.boxes().size());
    const BoxCall& box = calls.boxes()[0];
    EXPECT_EQ(nullptr, box.owner);
    EXPECT_EQ(kNoWorlds, box.text);
    EXPECT_EQ("ZORV Error", box.title);
    EXPECT_EQ(0u, box.flags);
    EXPECT_EQ(terminated("Gone"), reg::get("", "CurrMovie").data);
    EXPECT_TRUE(calls.writes().empty());

    // The empty name opens the host key itself, once per value, each time with the box.
    home.addFolder("Desktops");
    reg::setString("", "OrvanedefaultScore1", "42");
    EXPECT_EQ(padded("42"), readValue("OrvanedefaultScore1"));
    writeWorldValue("OrvanedefaultName1", "Zed");
    EXPECT_EQ("Zed", reg::text("", "OrvanedefaultName1"));
    EXPECT_EQ(3, std::count_if(calls.boxes().begin(), calls.boxes().end(),
                               [](const BoxCall& box) { return box.text == kNoWorlds; }));
}

// A folder whose name the code page spells by a look-alike ("dZORV_Omega") is no world: that
// name names another folder or none.
TEST_F(CurrentWorld, OnlyFilesMatchingStoresTheEmptyName) {
    home.addFolder("Desktops");
    home.addFile("Desktops\\dZORV_file");
    ASSERT_TRUE(home.addFolder(L"Desktops\\dZORV_\x3a9mega"));
    ASSERT_TRUE(home.addFile(L"Desktops\\dZORV_\x3a9mega\\dZORV_\x3a9mega.dcr"));
    home.setCurrentWorld("Gone");
    EXPECT_EQ("", resolve());
    EXPECT_EQ((Lines{notFound("Gone"), "Will search for world"} + repaired("")), trace.messages());
    EXPECT_EQ(std::string(1, '\0'), reg::get("", "CurrMovie").data);

    writeWorldValue("Probe", "on the host key");
    EXPECT_EQ("on the host key", reg::text("", "Probe"));
}

TEST_F(CurrentWorld, CurrMovieThatCannotBeSavedKeepsTheChoiceInTheBuffer) {
    home.addWorld("dZORV_a");
    home.setCurrentWorld("Gone");
    calls.failValueWrite("CurrMovie");
    EXPECT_EQ("dZORV_a", resolve());
    EXPECT_EQ(
        (Lines{notFound("Gone"), "Will search for world", kSearching, "ERROR could not save CurrMovie to registry!"}),
        trace.messages());
    EXPECT_EQ(terminated("Gone"), reg::get("", "CurrMovie").data);

    // A standard user, who may not write the host key, still has the world found.
    calls.refuseWriteRights();
    EXPECT_EQ("dZORV_a", resolve());
    EXPECT_EQ("ERROR could not save CurrMovie to registry!", trace.messages().back());
    EXPECT_EQ(terminated("Gone"), reg::get("", "CurrMovie").data);
}

TEST_F(CurrentWorld, UnreadableSettingsLeaveTheBufferUntouched) {
    const std::string untouched(260, 'Q');
    home.addWorld("dZORV_a");
    reg::remove("", "MainDir");
    EXPECT_EQ(untouched, resolve(untouched.c_str()));
    EXPECT_EQ((Lines{"Unable to read ZORV installation directory in Server",
                     "ERROR could not get ZORV install dir from registry!"}),
              trace.messages());

    reg::setString("", "MainDir", home.dir().c_str());
    calls.failKeyOpen(2);  // getCurrentWorld's own open, after getInstallDir's
    EXPECT_EQ("before", resolve("before"));
    calls.failKeyOpen(2, true);
    EXPECT_EQ(untouched, resolve(untouched.c_str()));  // printed, never read past
    EXPECT_EQ((Lines{"ERROR Unable to read ZORV install key!", "getCurrentWorld returning before",
                     "ERROR Unable to read ZORV install key!", "getCurrentWorld returning " + untouched.substr(1)}),
              traced(2));

    reg::deleteTree("");
    EXPECT_EQ("before", resolve("before"));
    EXPECT_EQ((Lines{"ERROR Unable to read ZORV install key!", "ERROR could not get open zorv install key!",
                     "ERROR could not get ZORV install dir from registry!"}),
              traced(6));
    EXPECT_TRUE(calls.writes().empty());
}

TEST_F(CurrentWorld, WorldKeyIsOpenedThroughThreeFreshHostKeys) {
    atHome();
    reg::setString("Home", "Probe", "in the world");
    handedOut = openWorldKey(KEY_QUERY_VALUE).release();
    const char* const host = "SOFTWARE\\ZORV";
    const REGSAM read = KEY_QUERY_VALUE;
    // Leading to the world's key takes no right; the current world is read, and written if need be.
    expectHandedOut("Probe", "in the world",
                    {{host, read}, {host, read}, {host, read | KEY_SET_VALUE}, {"Home", read}});
}

TEST_F(CurrentWorld, WorldKeyThatCannotBeOpenedGivesNull) {
    atHome();
    reg::deleteTree("Home");
    EXPECT_EQ(nullptr, openWorldKey(KEY_QUERY_VALUE).get());
    reg::createKey("Home");
    calls.failKeyOpen(4, true);  // the world key, left open by the failing call
    EXPECT_EQ(nullptr, openWorldKey(KEY_QUERY_VALUE).get());
    EXPECT_EQ((Lines{"getCurrentWorld returning Home", "ERROR Unable to open ZORV world key!",
                     "getCurrentWorld returning Home", "ERROR Unable to open ZORV world key!"}),
              trace.messages());

    reg::setString("Home", "Kept", "old");
    calls.failKeyOpen(4);
    EXPECT_EQ(padded(""), readValue("Kept"));
    calls.failKeyOpen(4);
    writeWorldValue("Kept", "new");
    EXPECT_EQ("old", reg::text("Home", "Kept"));
    EXPECT_FALSE(reg::get("", "Kept").exists);
}

TEST_F(CurrentWorld, WithoutAResolvedWorldNothingTouchesTheHostKey) {
    atHome();
    reg::setString("", "Kept", "host's own");

    calls.failKeyOpen(3);  // getCurrentWorld's open of the host key
    EXPECT_EQ(nullptr, openWorldKey(KEY_QUERY_VALUE).get());
    calls.failKeyOpen(3);
    EXPECT_EQ(padded(""), readValue("Kept"));
    calls.failKeyOpen(3);
    writeWorldValue("Kept", "overwritten");

    reg::remove("", "MainDir");
    EXPECT_EQ(nullptr, openWorldKey(KEY_QUERY_VALUE).get());
    EXPECT_EQ(padded(""), readValue("Kept"));
    writeWorldValue("Kept", "overwritten");
    EXPECT_EQ("host's own", reg::text("", "Kept"));

    reg::deleteTree("");
    const size_t before = trace.messages().size();
    EXPECT_EQ(nullptr, openWorldKey(KEY_QUERY_VALUE).get());
    EXPECT_EQ(padded(""), readValue("Kept"));
    writeWorldValue("Kept", "overwritten");
    EXPECT_EQ(Lines(3, "ERROR Unable to read ZORV install key!"), traced(before));
    EXPECT_TRUE(calls.writes().empty());
}

TEST_F(CurrentWorld, ReadGivesTheTerminatedTextOrAllZeros) {
    atHome();
    reg::setString("Home", "Text", "abc");
    reg::setString("Home", "Longest", "1234567");
    reg::setString("Home", "Unended", "1234567", REG_SZ, false);
    reg::setString("Home", "Full", "12345678", REG_SZ, false);
    reg::setString("Home", "TooLarge", "12345678");
    reg::setDword("Home", "Number", 0x00636261);
    reg::setDword("Home", "Wide", 0x64636261);
    EXPECT_EQ(padded("abc"), readValue("Text"));
    EXPECT_EQ(padded("1234567"), readValue("Longest"));
    EXPECT_EQ(padded("1234567"), readValue("Unended"));
    EXPECT_EQ(padded("abc"), readValue("Number"));
    EXPECT_EQ(padded(""), readValue("Full"));  // no room for the terminator
    EXPECT_EQ(padded(""), readValue("TooLarge"));
    EXPECT_EQ(padded("", 4), readValue("Wide", 4));
    EXPECT_EQ(padded(""), readValue("Missing"));
    EXPECT_EQ(padded("12345678", 9), readValue("Full", 9));
    EXPECT_EQ(std::string(1, '\0'), readValue("Text", 1));

    const size_t opens = calls.keyOpens().size();
    EXPECT_EQ(std::string(8, '\xbd'), readValue(nullptr));
    EXPECT_EQ("", readValue("Text", 0));
    readWorldValue("Text", nullptr, 8);
    EXPECT_EQ(opens, calls.keyOpens().size());
    EXPECT_TRUE(calls.writes().empty());
}

TEST_F(CurrentWorld, WriteStoresTheTextWithoutItsTerminator) {
    atHome();
    reg::setString("Home", "Name1", "old");
    writeWorldValue("Name1", "abc");
    writeWorldValue("Empty", "");
    // The registry completes a counted text with the terminator that follows it in memory,
    // so the length is checked where it is passed.
    ASSERT_EQ(2u, calls.writes().size());
    EXPECT_EQ("abc", calls.writes()[0].data);
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), calls.writes()[0].type);
    EXPECT_EQ("abc", reg::text("Home", "Name1"));
    const reg::Value empty = reg::get("Home", "Empty");
    EXPECT_TRUE(empty.exists);
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), empty.type);
    EXPECT_EQ(0u, empty.data.size());

    writeWorldValue(nullptr, "x");
    writeWorldValue("Name1", nullptr);
    EXPECT_EQ(2u, calls.writes().size());
}

TEST_F(CurrentWorld, RefusedWriteShowsTheBoxAndKeepsTheValue) {
    boxesExpected = true;
    atHome();
    reg::setString("Home", "Score1", "100");
    calls.failValueWrite("Score1");
    writeWorldValue("Score1", "200");
    EXPECT_EQ("100", reg::text("Home", "Score1"));
    ASSERT_EQ(1u, calls.boxes().size());
    const BoxCall& box = calls.boxes()[0];
    EXPECT_EQ(nullptr, box.owner);
    EXPECT_EQ("Unable to save game stat info!", box.text);
    EXPECT_EQ("ZORV Error", box.title);
    EXPECT_EQ(0x40030u, box.flags);
    EXPECT_EQ((Lines{"getCurrentWorld returning Home"}), trace.messages());

    // A standard user, who may not write the world's key, reads it and is told the same.
    calls.refuseWriteRights();
    EXPECT_EQ(kKeyRefused, writeWorldValue("Score1", "300"));
    EXPECT_EQ(padded("100"), readValue("Score1"));
    EXPECT_EQ(2u, calls.boxes().size());
    EXPECT_EQ(calls.boxes()[0].text, calls.boxes()[1].text);
}

// The table lock held by another thread: one that hangs costs the update five seconds, never the
// result; one that has ended without letting go is had at once.
TEST_F(CurrentWorld, ALockThatCannotBeHadCostsTheResultNothing) {
    atHome();
    std::atomic<HANDLE> lock{nullptr};
    std::thread holder([&lock] {
        lock = CreateMutexA(nullptr, TRUE, kScoreTableLock);
        Sleep(6500);
    });
    while (!lock) Sleep(1);
    const DWORD began = GetTickCount();
    enterResult("Orvane", "default", "BOB", 2000, 4);
    EXPECT_NEAR(5200, static_cast<int>(GetTickCount() - began), 700);
    holder.join();
    enterResult("Orvane", "default", "ACE", 1000, 3);
    CloseHandle(lock);
    EXPECT_EQ("BOB", reg::text("Home", "OrvanedefaultName1"));
    EXPECT_EQ("ACE", reg::text("Home", "OrvanedefaultName2"));
    const Lines lines = trace.messages();
    EXPECT_EQ(1, std::count(lines.begin(), lines.end(),
                            "WARNING could not take the score table lock in 5 s, updating without it"));
}

// A box waits for its own thread's lock alone: another thread's neither keeps it back nor shows it.
TEST_F(CurrentWorld, ABoxWaitsForItsOwnThreadsLockAlone) {
    boxesExpected = true;
    {
        const TableLock lock;
        std::thread([] { showErrorBox(kNotSavedBox); }).join();
        EXPECT_EQ(1u, calls.boxes().size());
    }
    EXPECT_EQ(1u, calls.boxes().size());
}

// In code page 932 the second byte of many characters is 0x5C: an installation folder ending in
// one still gets its backslash, and its worlds are found. Run by the host_environment_tests_cp932 entry.
TEST_F(CurrentWorld, InstallFolderEndingInATwoByteCharacterStillHoldsItsWorlds) {
    if (GetACP() != 932) GTEST_SKIP() << "needs code page 932: LC_ALL=ja_JP.UTF-8 with that locale made";
    const std::string folder = "\x93\xbe\x93\x5f\x95\x5c";  // the last character's second byte is 0x5C
    home.addFolder(folder + "\\Desktops\\dZORV_one");
    home.addFile((folder + "\\Desktops\\dZORV_one\\dZORV_one.dcr").c_str());
    reg::createKey("dZORV_one");
    home.setCurrentWorld("dZORV_one");
    reg::setString("", "MainDir", (home.dir() + folder).c_str());
    EXPECT_EQ("dZORV_one", resolve());
    writeWorldValue("Probe", "kept");
    EXPECT_EQ("kept", reg::text("dZORV_one", "Probe"));
}
