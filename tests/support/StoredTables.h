// Score tables as the registry holds them.
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

// The values of a game's table for one mode, under the world's key, each with its terminator
// unless terminated is false.
void storeTable(const char* world, const char* game, const char* mode, const StoredTable& table,
                bool terminated = true);
StoredTable storedTable(const char* world, const char* game, const char* mode);
std::string show(const StoredTable& table);
