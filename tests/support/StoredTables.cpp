#include "StoredTables.h"

#include <cstdlib>
#include <ostream>

#include "RegistrySandbox.h"

namespace {
std::string valueName(const std::string& prefix, const char* field, int rank) {
    return prefix + field + std::to_string(rank + 1);
}
}  // namespace

void storeTable(const char* world, const std::string& prefix, const StoredTable& table, bool terminated) {
    for (int rank = 0; rank < 3; ++rank) {
        const StoredEntry& e = table[rank];
        reg::setString(world, valueName(prefix, "Name", rank).c_str(), e.name.c_str(), REG_SZ, terminated);
        reg::setString(world, valueName(prefix, "Level", rank).c_str(), e.level.c_str(), REG_SZ, terminated);
        reg::setString(world, valueName(prefix, "Score", rank).c_str(), e.score.c_str(), REG_SZ, terminated);
    }
}

StoredTable storedTable(const char* world, const std::string& prefix) {
    StoredTable table;
    for (int rank = 0; rank < 3; ++rank)
        table[rank] = {reg::text(world, valueName(prefix, "Name", rank).c_str()),
                       reg::text(world, valueName(prefix, "Level", rank).c_str()),
                       reg::text(world, valueName(prefix, "Score", rank).c_str())};
    return table;
}

void PrintTo(const StoredEntry& e, std::ostream* out) {
    *out << "{" << e.name << "|" << e.level << "|" << e.score << "}";
}

std::string show(const StoredTable& table) {
    std::string text;
    for (const StoredEntry& e : table) text += "{" + e.name + "|" + e.level + "|" + e.score + "}";
    return text;
}

bool enters(const StoredTable& old, int score) { return score > atoi(old[2].score.c_str()); }

Places placesWritten(const StoredTable& old, int score) {
    if (!enters(old, score)) return {3, 2};
    int first = 0;
    while (!(score > atoi(old[first].score.c_str()))) ++first;
    int last = first;
    while (last < 2 && old[last].recorded()) ++last;
    return {first, last};
}

StoredTable updated(const StoredTable& old, const std::string& name, int score, int level) {
    const Places places = placesWritten(old, score);
    StoredTable table = old;
    for (int to = places.last; to > places.first; --to) table[to] = old[to - 1];
    if (places.first <= places.last) table[places.first] = {name, std::to_string(level), std::to_string(score)};
    return table;
}
