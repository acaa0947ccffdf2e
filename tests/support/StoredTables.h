// Score tables as the registry holds them, and what entering a result makes of one.
#pragma once

#include <array>
#include <iosfwd>
#include <string>

struct StoredEntry {
    std::string name, level, score;
    // A place that ever held a result, with a name or without.
    bool recorded() const { return !name.empty() || !level.empty() || !score.empty(); }
    bool operator==(const StoredEntry& o) const { return name == o.name && level == o.level && score == o.score; }
};
void PrintTo(const StoredEntry& entry, std::ostream* out);
using StoredTable = std::array<StoredEntry, 3>;

// prefix: game and mode, as in "Orvanedefault"; the values live under the world's key, each
// with its terminator unless terminated is false.
void storeTable(const char* world, const std::string& prefix, const StoredTable& table, bool terminated = true);
StoredTable storedTable(const char* world, const std::string& prefix);
std::string show(const StoredTable& table);

// Only a result that beats the third place enters the table.
bool enters(const StoredTable& old, int score);
// The places a result that enters writes: the first place it beats, and every place from there
// down that ever held a result, moved one down, until one that never did makes room (or the
// third falls out). For one that does not enter, first > last.
struct Places {
    int first, last;
};
Places placesWritten(const StoredTable& old, int score);
// The table after the result entered it, as those places say.
StoredTable updated(const StoredTable& old, const std::string& name, int score, int level);
