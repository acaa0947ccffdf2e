// Before any C++ header, which would swap msvcrt's printf family for the compiler runtime's.
#include <stdio.h>

#include "ScoreTable.h"

#include <cstdlib>
#include <initializer_list>

#include "CString.h"
#include "CurrentWorld.h"
#include "TableLock.h"

namespace {
enum Field { kName, kLevel, kScore };

// The texts an update stores, in order, each with the one it replaces.
struct Update {
    struct Change {
        CString value;
        const char* text;
        const char* old;
    };
    Change changes[kScoreValues];
    int count = 0;

    void place(const char* game, const char* mode, int rank, const ScoreEntry& old, const char* name, const char* level,
               const char* score) {
        changes[count++] = {scoreValueName<CString>(game, mode, kName, rank), name, old.name};
        changes[count++] = {scoreValueName<CString>(game, mode, kLevel, rank), level, old.level};
        changes[count++] = {scoreValueName<CString>(game, mode, kScore, rank), score, old.score};
    }

    // Every text is tried, so each refusal is reported; a table left half rewritten would show one
    // result twice and have lost another, so what was stored is then put back. A world key the
    // user may not write refuses every text alike: said once, and the update stops there.
    void store() const {
        bool stored[kScoreValues] = {};
        bool whole = true;
        for (int i = 0; i < count; ++i) {
            const WriteResult result = writeWorldValue(changes[i].value, changes[i].text);
            stored[i] = result == kWritten;
            whole = whole && stored[i];
            if (result == kKeyRefused) break;
        }
        for (int i = count - 1; !whole && i >= 0; --i)
            if (stored[i] && writeWorldValue(changes[i].value, changes[i].old) == kKeyRefused) break;
    }
};

// One stored text into its place in the table, at its capacity.
bool readText(const char* game, const char* mode, Field field, int rank, ScoreTable& table) {
    ScoreEntry& entry = table.entries[rank];
    char* text = field == kName ? entry.name : field == kLevel ? entry.level : entry.score;
    const DWORD size = field == kName ? sizeof entry.name : field == kLevel ? sizeof entry.level : sizeof entry.score;
    return readWorldValue(scoreValueName<CString>(game, mode, field, rank), text, size);
}

// A place that any result was ever written to, whether or not it got a name.
bool recorded(const ScoreEntry& entry) { return entry.name[0] || entry.level[0] || entry.score[0]; }
}  // namespace

ScoreTable readScoreTable(const char* game, const char* mode) {
    ScoreTable table;
    for (Field field : {kName, kScore, kLevel})
        for (int rank = 0; rank < kScoreRanks; ++rank) table.readable &= readText(game, mode, field, rank, table);
    return table;
}

ScoreTable readScoreTableForDisplay(const char* game, const char* mode) {
    ScoreTable table;
    for (int rank = 0; rank < kScoreRanks; ++rank)
        for (Field field : {kName, kLevel, kScore}) table.readable &= readText(game, mode, field, rank, table);
    return table;
}

bool scoreQualifies(const ScoreTable& table, int score) {
    return table.readable && score > atoi(table.entries[kScoreRanks - 1].score);
}

void updateScoreTable(const char* game, const char* mode, const ScoreTable& table, const char* name, int score,
                      int level) {
    char scoreText[16];
    char levelText[16];
    snprintf(scoreText, sizeof scoreText, "%i", score);
    snprintf(levelText, sizeof levelText, "%i", level);

    int rank = 0;
    while (rank < kScoreRanks && !(score > atoi(table.entries[rank].score))) ++rank;
    if (rank == kScoreRanks || !table.readable) return;
    Update update;
    update.place(game, mode, rank, table.entries[rank], name, levelText, scoreText);

    // Each place pushed out of its slot moves one down, unnamed results too; the chain stops at
    // a place that never held a result, so nothing recorded is lost or shown twice.
    for (int from = rank; from < kScoreRanks - 1 && recorded(table.entries[from]); ++from) {
        const ScoreEntry& moved = table.entries[from];
        update.place(game, mode, from + 1, table.entries[from + 1], moved.name, moved.level, moved.score);
    }
    update.store();
}

void enterResult(const char* game, const char* mode, const char* name, int score, int level) {
    const TableLock lock;
    updateScoreTable(game, mode, readScoreTable(game, mode), name, score, level);
}
