// The hall of fame's update rule, over an in-memory store that records every write.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "CurrentWorld.h"
#include "HallOfFameIds.h"
#include "ScoreTable.h"
#include "StoredTables.h"

// The store the table code reads and writes in this test.
namespace {
std::map<std::string, std::string> store;
std::vector<std::pair<std::string, std::string>> writes;
std::vector<std::pair<std::string, DWORD>> reads;
}  // namespace

bool readWorldValue(const char* name, char* buffer, DWORD size) {
    reads.emplace_back(name, size);
    memset(buffer, 0, size);
    auto found = store.find(name);
    if (found == store.end()) return true;
    if (found->second.size() >= size) return false;
    memcpy(buffer, found->second.data(), found->second.size());
    return true;
}

bool writeWorldValue(const char* name, const char* text) {
    writes.emplace_back(name, text);
    store[name] = text;
    return true;
}

namespace {
using Entry = StoredEntry;

// The in-memory store holds this table alone: no value for an empty cell, and no writes yet.
void seedStore(const std::vector<Entry>& entries) {
    store.clear();
    writes.clear();
    for (int rank = 1; rank <= 3; ++rank) {
        const Entry& e = entries[rank - 1];
        const std::string r = std::to_string(rank);
        if (!e.name.empty()) store["OrvanedefaultName" + r] = e.name;
        if (!e.level.empty()) store["OrvanedefaultLevel" + r] = e.level;
        if (!e.score.empty()) store["OrvanedefaultScore" + r] = e.score;
    }
}

std::vector<Entry> storedTable() {
    std::vector<Entry> entries;
    for (int rank = 1; rank <= 3; ++rank) {
        const std::string r = std::to_string(rank);
        entries.push_back(
            {store["OrvanedefaultName" + r], store["OrvanedefaultLevel" + r], store["OrvanedefaultScore" + r]});
    }
    return entries;
}

// Plays one result into the stored table the way the hall of fame does.
void play(const char* name, int score, int level) {
    const ScoreTable snapshot = readScoreTable("Orvane", "default");
    writes.clear();
    if (scoreQualifies(snapshot, score)) updateScoreTable("Orvane", "default", snapshot, name, score, level);
}

std::vector<std::string> writtenNames() {
    std::vector<std::string> names;
    for (auto& w : writes) names.push_back(w.first);
    return names;
}
}  // namespace

TEST(ScoreTable, ReadsNineValuesNamesThenScoresThenLevels) {
    seedStore({{"ACE", "3", "1500"}, {"BOB", "2", "900"}, {"", "", ""}});
    const ScoreTable table = readScoreTable("Orvane", "default");
    EXPECT_STREQ("ACE", table.entries[0].name);
    EXPECT_STREQ("2", table.entries[1].level);
    EXPECT_STREQ("900", table.entries[1].score);
    EXPECT_STREQ("", table.entries[2].score);
    // A name of 16 bytes does not fit its capacity and reads as unnamed.
    store["OrvanedefaultName1"] = std::string(16, 'N');
    EXPECT_STREQ("", readScoreTable("Orvane", "default").entries[0].name);
    // Nor does any result enter it: the update would write over, or move, what it never saw.
    play("N", 2000, 1);
    EXPECT_TRUE(writes.empty());
}

TEST(ScoreTable, EmptyTableTakesExactlyThreeWrites) {
    seedStore({{}, {}, {}});
    play("ACE", 1500, 3);
    EXPECT_EQ((std::vector<std::pair<std::string, std::string>>{
                  {"OrvanedefaultName1", "ACE"}, {"OrvanedefaultLevel1", "3"}, {"OrvanedefaultScore1", "1500"}}),
              writes);
    seedStore({{}, {}, {}});
    play("ACE", 0, 1);
    play("ACE", -5, 1);
    EXPECT_TRUE(writes.empty());
}

TEST(ScoreTable, NamedTablesKeepTheirWriteSequences) {
    const std::vector<Entry> table = {{"A", "5", "500"}, {"B", "3", "300"}, {"C", "1", "100"}};
    seedStore(table);
    play("N", 100, 1);
    EXPECT_TRUE(writes.empty());

    seedStore(table);
    play("N", 300, 1);
    EXPECT_EQ((std::vector<Entry>{table[0], table[1], {"N", "1", "300"}}), storedTable());
    EXPECT_EQ(3u, writes.size());

    seedStore(table);
    play("N", 301, 2);
    EXPECT_EQ((std::vector<Entry>{table[0], {"N", "2", "301"}, table[1]}), storedTable());
    EXPECT_EQ(6u, writes.size());

    seedStore(table);
    play("N", 1000, 9);
    EXPECT_EQ((std::vector<Entry>{{"N", "9", "1000"}, table[0], table[1]}), storedTable());
    EXPECT_EQ((std::vector<std::string>{"OrvanedefaultName1", "OrvanedefaultLevel1", "OrvanedefaultScore1",
                                        "OrvanedefaultName2", "OrvanedefaultLevel2", "OrvanedefaultScore2",
                                        "OrvanedefaultName3", "OrvanedefaultLevel3", "OrvanedefaultScore3"}),
              writtenNames());
}

// Results entered without a name are recorded like any other and move down with the rest.
TEST(ScoreTable, UnnamedResultsAreNeitherLostNorShownTwice) {
    seedStore({{"", "5", "500"}, {"B", "3", "300"}, {"C", "1", "100"}});
    play("N", 600, 1);
    EXPECT_EQ((std::vector<Entry>{{"N", "1", "600"}, {"", "5", "500"}, {"B", "3", "300"}}), storedTable());

    seedStore({{"A", "5", "500"}, {"", "3", "300"}, {"C", "1", "100"}});
    play("N", 600, 1);
    EXPECT_EQ((std::vector<Entry>{{"N", "1", "600"}, {"A", "5", "500"}, {"", "3", "300"}}), storedTable());
}

TEST(ScoreTable, MovedTextsAreCopiedAsStoredAndNewOnesFormatted) {
    seedStore({{"A", "007", " 0042"}, {}, {}});
    play("N", 42, -3);
    EXPECT_EQ((std::vector<Entry>{{"A", "007", " 0042"}, {"N", "-3", "42"}, {}}), storedTable());
    seedStore({{"A", "1", "12abc"}, {"B", "1", "x"}, {}});
    play("N", 13, 1);
    EXPECT_EQ((std::vector<Entry>{{"N", "1", "13"}, {"A", "1", "12abc"}, {"B", "1", "x"}}), storedTable());
}

// Reference: the result goes in at its rank, and the first place from there down that never
// held a result makes room, or else the third place falls out.
TEST(ScoreTable, MatchesTheReferenceOverRandomTables) {
    std::mt19937 random(20261207);
    const char* const names[] = {"", "", "ACE", "B O B", "zed", "12345678"};
    const char* const numbers[] = {"", "0", "5", "100", "0042", " 300", "-7", "300", "2147483647", "99x", "abc"};
    auto pick = [&](auto& list) { return std::string(list[random() % (sizeof list / sizeof *list)]); };
    for (int round = 0; round < 20000; ++round) {
        std::vector<Entry> old(3);
        for (Entry& e : old) {
            e = {pick(names), pick(numbers), pick(numbers)};
            if (random() % 4 == 0) e = {};
        }
        const int score = static_cast<int>(random() % 700) - 100;
        const std::string name = pick(names);
        seedStore(old);
        play(name.c_str(), score, 4);

        StoredTable before;
        std::copy(old.begin(), old.end(), before.begin());
        const StoredTable after = updated(before, name, score, 4);
        const std::vector<Entry> expected(after.begin(), after.end());
        const Places written = placesWritten(before, score);
        std::vector<std::string> expectedWrites;
        for (int slot = written.first; slot <= written.last; ++slot)
            for (const char* field : {"Name", "Level", "Score"})
                expectedWrites.push_back("Orvanedefault" + std::string(field) + std::to_string(slot + 1));
        ASSERT_EQ(expected, storedTable()) << "round " << round << " score " << score;
        ASSERT_EQ(expectedWrites, writtenNames()) << "round " << round;

        // Every recorded result is still there, but for the one pushed out of third place.
        int lost = 0;
        for (size_t i = 0; i < old.size(); ++i) {
            const Entry& e = old[i];
            if (!e.recorded() || std::find(old.begin(), old.begin() + i, e) != old.begin() + i) continue;
            int before = 0, after = 0;
            for (const Entry& o : old) before += o == e;
            for (const Entry& n : storedTable()) after += n == e;
            lost += before > after ? before - after : 0;
            ASSERT_LE(after, before + (e == Entry{name, "4", std::to_string(score)} ? 1 : 0)) << "round " << round;
        }
        ASSERT_LE(lost, 1) << "round " << round;
    }
}

// The display reads the store afresh, rank by rank, each text at its capacity.
TEST(ScoreTable, ReadForDisplayAsStoredNow) {
    seedStore({{"ACE", "3", "1500"}, {"", "", ""}, {"C", "1", "100"}});
    store["OrvanedefaultName2"] = std::string(16, 'N');   // one byte too long for a name
    store["OrvanedefaultLevel2"] = std::string(31, '7');  // the longest level that fits
    reads.clear();
    const ScoreTable table = readScoreTableForDisplay("Orvane", "default");

    const std::vector<std::string> shown = {"ACE", "3", "1500", "", std::string(31, '7'), "", "C", "1", "100"};
    for (int cell = 0; cell < 9; ++cell) {
        const ScoreEntry& entry = table.entries[cell / 3];
        const char* const texts[] = {entry.name, entry.level, entry.score};
        EXPECT_EQ(shown[cell], texts[cell % 3]) << "cell " << cell;
    }
    std::vector<std::pair<std::string, DWORD>> expected;
    for (const char* rank : {"1", "2", "3"}) {
        expected.emplace_back(std::string("OrvanedefaultName") + rank, 16);
        expected.emplace_back(std::string("OrvanedefaultLevel") + rank, 32);
        expected.emplace_back(std::string("OrvanedefaultScore") + rank, 32);
    }
    EXPECT_EQ(expected, reads);
    EXPECT_TRUE(writes.empty());

    // The mode is taken as given, letter case and all.
    reads.clear();
    readScoreTableForDisplay("Quibbix", "Random");
    ASSERT_EQ(9u, reads.size());
    EXPECT_EQ("QuibbixRandomName1", reads[0].first);
    EXPECT_EQ("QuibbixRandomScore3", reads[8].first);
}
