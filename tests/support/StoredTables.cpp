#include "StoredTables.h"

#include <cstdlib>
#include <ostream>
#include <utility>

#include "RegistrySandbox.h"

namespace {
const std::pair<const char*, std::string StoredEntry::*> kFields[] = {
    {"Name", &StoredEntry::name}, {"Level", &StoredEntry::level}, {"Score", &StoredEntry::score}};
}  // namespace

void storeTable(const char* world, const std::string& prefix, const StoredTable& table, bool terminated) {
    for (int rank = 0; rank < 3; ++rank)
        for (auto [field, text] : kFields)
            reg::setString(world, (prefix + field + std::to_string(rank + 1)).c_str(), (table[rank].*text).c_str(),
                           REG_SZ, terminated);
}

StoredTable storedTable(const char* world, const std::string& prefix) {
    StoredTable table;
    for (int rank = 0; rank < 3; ++rank)
        for (auto [field, text] : kFields)
            table[rank].*text = reg::text(world, (prefix + field + std::to_string(rank + 1)).c_str());
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
