#include "StoredTables.h"

#include <ostream>

#include "PluginContract.h"
#include "RegistrySandbox.h"

namespace {
// In the order of the contract's fields.
std::string StoredEntry::*const kTexts[] = {&StoredEntry::name, &StoredEntry::level, &StoredEntry::score};

std::string valueName(const char* game, const char* mode, int field, int rank) {
    return scoreValueName<std::string>(game, mode, field, rank);
}
}  // namespace

void storeTable(const char* world, const char* game, const char* mode, const StoredTable& table, bool terminated) {
    for (int rank = 0; rank < kScoreRanks; ++rank)
        for (int field = 0; field < 3; ++field)
            reg::setString(world, valueName(game, mode, field, rank).c_str(), (table[rank].*kTexts[field]).c_str(),
                           REG_SZ, terminated);
}

StoredTable storedTable(const char* world, const char* game, const char* mode) {
    StoredTable table;
    for (int rank = 0; rank < kScoreRanks; ++rank)
        for (int field = 0; field < 3; ++field)
            table[rank].*kTexts[field] = reg::text(world, valueName(game, mode, field, rank).c_str());
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
