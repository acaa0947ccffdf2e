#include "StoredTables.h"

#include <cstdlib>

#include "RegistrySandbox.h"

namespace {
std::string valueName(const std::string& prefix, const char* field, int rank) {
    return prefix + field + std::to_string(rank + 1);
}
}  // namespace

void storeTable(const char* world, const std::string& prefix, const StoredTable& table) {
    for (int rank = 0; rank < 3; ++rank) {
        reg::setString(world, valueName(prefix, "Name", rank).c_str(), table[rank].name.c_str());
        reg::setString(world, valueName(prefix, "Level", rank).c_str(), table[rank].level.c_str());
        reg::setString(world, valueName(prefix, "Score", rank).c_str(), table[rank].score.c_str());
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

std::string show(const StoredTable& table) {
    std::string text;
    for (const StoredEntry& e : table) text += "{" + e.name + "|" + e.level + "|" + e.score + "}";
    return text;
}

StoredTable updated(const StoredTable& old, const std::string& name, int score, int level) {
    int rank = 0;
    while (rank < 3 && !(score > atoi(old[rank].score.c_str()))) ++rank;
    if (rank == 3) return old;
    StoredTable table = old;
    table[rank] = {name, std::to_string(level), std::to_string(score)};
    for (int from = rank; from < 2 && old[from].recorded(); ++from) table[from + 1] = old[from];
    return table;
}
