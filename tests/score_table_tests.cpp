// The hall of fame's update rule, over an in-memory store that records every write.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "CurrentWorld.h"
#include "PluginContract.h"
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

WriteResult writeWorldValue(const char* name, const char* text) {
    writes.emplace_back(name, text);
    store[name] = text;
    return kWritten;
}

namespace {
using Entry = StoredEntry;

std::string valueName(int field, int rank) { return scoreValueName<std::string>("Orvane", "default", field, rank); }

// The in-memory store holds this table alone: no value for an empty cell, and no writes yet.
void seedStore(const StoredTable& table) {
    store.clear();
    writes.clear();
    for (int rank = 0; rank < kScoreRanks; ++rank) {
        const std::string texts[] = {table[rank].name, table[rank].level, table[rank].score};
        for (int field = 0; field < 3; ++field)
            if (!texts[field].empty()) store[valueName(field, rank)] = texts[field];
    }
}

StoredTable storedTable() {
    StoredTable table;
    for (int rank = 0; rank < kScoreRanks; ++rank)
        table[rank] = {store[valueName(0, rank)], store[valueName(1, rank)], store[valueName(2, rank)]};
    return table;
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

// The places written: from first to last (0: the first place); none when first > last.
struct Places {
    int first, last;
};
const Places kNone = {3, 2};

// The values of these places, three to a place, in the order they are written.
std::vector<std::string> valuesOf(Places places) {
    std::vector<std::string> names;
    for (int place = places.first; place <= places.last; ++place)
        for (int field = 0; field < 3; ++field) names.push_back(valueName(field, place));
    return names;
}
}  // namespace

TEST(ScoreTable, ReadsNineValuesNamesThenScoresThenLevels) {
    seedStore({{{"ACE", "3", "1500"}, {"BOB", "2", "900"}, {"", "", ""}}});
    const ScoreTable table = readScoreTable("Orvane", "default");
    EXPECT_STREQ("ACE", table.entries[0].name);
    EXPECT_STREQ("2", table.entries[1].level);
    EXPECT_STREQ("900", table.entries[1].score);
    EXPECT_STREQ("", table.entries[2].score);
    // A name of 16 bytes does not fit its capacity and reads as unnamed.
    store[valueName(0, 0)] = std::string(16, 'N');
    EXPECT_STREQ("", readScoreTable("Orvane", "default").entries[0].name);
    // Nor does any result enter it: the update would write over, or move, what it never saw.
    play("N", 2000, 1);
    EXPECT_TRUE(writes.empty());
}

// Texts moved are copied as stored and new ones formatted; results entered without a name are
// recorded like any other and move down with the rest.
TEST(ScoreTable, ResultEntersAtItsRankAndWritesOnlyThePlacesThatChange) {
    const Entry a = {"A", "5", "500"}, b = {"B", "3", "300"}, c = {"C", "1", "100"};
    const Entry unnamedA = {"", "5", "500"}, unnamedB = {"", "3", "300"};
    const Entry padded = {"A", "007", " 0042"}, odd = {"A", "1", "12abc"}, odder = {"B", "1", "x"};
    const struct {
        const char* what;
        StoredTable before;
        int score, level;
        StoredTable after;
        Places written;
    } cases[] = {
        {"into an empty table", {}, 1500, 3, {{{"N", "3", "1500"}, {}, {}}}, {0, 0}},
        {"zero into an empty table", {}, 0, 1, {}, kNone},
        {"below zero into an empty table", {}, -5, 1, {}, kNone},
        {"equal to the third", {{a, b, c}}, 100, 1, {{a, b, c}}, kNone},
        {"above the third", {{a, b, c}}, 300, 1, {{a, b, {"N", "1", "300"}}}, {2, 2}},
        {"above the second", {{a, b, c}}, 301, 2, {{a, {"N", "2", "301"}, b}}, {1, 2}},
        {"above the first", {{a, b, c}}, 1000, 9, {{{"N", "9", "1000"}, a, b}}, {0, 2}},
        {"over an unnamed first", {{unnamedA, b, c}}, 600, 1, {{{"N", "1", "600"}, unnamedA, b}}, {0, 2}},
        {"over an unnamed second", {{a, unnamedB, c}}, 600, 1, {{{"N", "1", "600"}, a, unnamedB}}, {0, 2}},
        {"below texts kept as stored", {{padded, {}, {}}}, 42, -3, {{padded, {"N", "-3", "42"}, {}}}, {1, 1}},
        {"above texts moved as stored", {{odd, odder, {}}}, 13, 1, {{{"N", "1", "13"}, odd, odder}}, {0, 2}},
    };
    for (const auto& each : cases) {
        seedStore(each.before);
        play("N", each.score, each.level);
        EXPECT_EQ(each.after, storedTable()) << each.what;
        EXPECT_EQ(valuesOf(each.written), writtenNames()) << each.what;
    }
}

// Over random tables, what any update must keep: a result that beats the third place goes in at
// the first place it beats, above it nothing changes, below it the places written are whole and
// in a row, each taking the one above it; only results ever recorded move, only the third can
// fall out, and none is shown twice. One that does not beat the third changes nothing.
TEST(ScoreTable, KeepsEveryResultOverRandomTables) {
    std::mt19937 random(20261207);
    const char* const names[] = {"", "", "ACE", "B O B", "zed", "12345678"};
    const char* const numbers[] = {"", "0", "5", "100", "0042", " 300", "-7", "300", "2147483647", "99x", "abc"};
    auto pick = [&](auto& list) { return std::string(list[random() % (sizeof list / sizeof *list)]); };
    for (int round = 0; round < 20000; ++round) {
        StoredTable old;
        for (Entry& e : old) {
            e = {pick(names), pick(numbers), pick(numbers)};
            if (random() % 4 == 0) e = {};
        }
        const int score = static_cast<int>(random() % 700) - 100;
        const std::string name = pick(names);
        seedStore(old);
        play(name.c_str(), score, 4);
        const StoredTable now = storedTable();
        const Entry entered = {name, "4", std::to_string(score)};
        SCOPED_TRACE("round " + std::to_string(round) + " score " + std::to_string(score));

        int first = 0;
        while (first < kScoreRanks && !(score > atoi(old[first].score.c_str()))) ++first;
        if (first == kScoreRanks || !(score > atoi(old[2].score.c_str()))) {
            ASSERT_EQ(old, now);
            ASSERT_TRUE(writes.empty());
            continue;
        }
        const int last = first + static_cast<int>(writes.size()) / 3 - 1;
        ASSERT_EQ(valuesOf({first, last}), writtenNames());
        ASSERT_EQ(entered, now[first]);
        for (int place = 0; place < kScoreRanks; ++place) {
            if (place < first || place > last) {
                ASSERT_EQ(old[place], now[place]) << "place " << place;
            } else if (place > first) {
                ASSERT_EQ(old[place - 1], now[place]) << "place " << place;
                ASSERT_TRUE(old[place - 1].recorded()) << "an empty place moved down to " << place;
            }
        }
        // Every recorded result is still there, but for the one pushed out of third place.
        for (size_t i = 0; i < old.size(); ++i) {
            const Entry& e = old[i];
            if (!e.recorded() || std::find(old.begin(), old.begin() + i, e) != old.begin() + i) continue;
            const int before = std::count(old.begin(), old.end(), e), after = std::count(now.begin(), now.end(), e);
            ASSERT_LE(after, before + (e == entered ? 1 : 0));
            if (after < before) {
                ASSERT_EQ(old[2], e) << "lost a result that was not third";
            }
            ASSERT_GE(after, before - 1);
        }
    }
}

// The display reads the store afresh, rank by rank, each text at its capacity.
TEST(ScoreTable, ReadForDisplayAsStoredNow) {
    seedStore({{{"ACE", "3", "1500"}, {"", "", ""}, {"C", "1", "100"}}});
    store[valueName(0, 1)] = std::string(16, 'N');  // one byte too long for a name
    store[valueName(1, 1)] = std::string(31, '7');  // the longest level that fits
    reads.clear();
    const ScoreTable table = readScoreTableForDisplay("Orvane", "default");

    const std::vector<std::string> shown = {"ACE", "3", "1500", "", std::string(31, '7'), "", "C", "1", "100"};
    for (int cell = 0; cell < 9; ++cell) {
        const ScoreEntry& entry = table.entries[cell / 3];
        const char* const texts[] = {entry.name, entry.level, entry.score};
        EXPECT_EQ(shown[cell], texts[cell % 3]) << "cell " << cell;
    }
    std::vector<std::pair<std::string, DWORD>> expected;
    for (const std::string& value : valuesOf({0, 2}))
        expected.emplace_back(value, value.find("Name") == std::string::npos ? 32 : 16);
    EXPECT_EQ(expected, reads);
    EXPECT_TRUE(writes.empty());

    // The mode is taken as given, letter case and all.
    reads.clear();
    readScoreTableForDisplay("Quibbix", "Random");
    ASSERT_EQ(9u, reads.size());
    EXPECT_EQ("QuibbixRandomName1", reads[0].first);
    EXPECT_EQ("QuibbixRandomScore3", reads[8].first);
}
