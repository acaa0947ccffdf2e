// Score tables as the registry holds them, and what entering a result makes of one.
#pragma once

#include <array>
#include <string>

struct StoredEntry {
    std::string name, level, score;
    // A place that ever held a result, with a name or without.
    bool recorded() const { return !name.empty() || !level.empty() || !score.empty(); }
    bool operator==(const StoredEntry& o) const { return name == o.name && level == o.level && score == o.score; }
};
using StoredTable = std::array<StoredEntry, 3>;

// prefix: game and mode, as in "Orvanedefault"; the values live under the world's key.
void storeTable(const char* world, const std::string& prefix, const StoredTable& table);
StoredTable storedTable(const char* world, const std::string& prefix);
std::string show(const StoredTable& table);

// The table after a result entered it: at the first place it beats, every place that ever held
// a result moves one down from there until one that never did makes room.
StoredTable updated(const StoredTable& old, const std::string& name, int score, int level);
