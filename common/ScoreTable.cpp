#include "ScoreTable.h"

#include <cstdio>
#include <cstdlib>

#include "CString.h"
#include "CurrentWorld.h"

namespace {
const char* const kNames[] = {"Name1", "Name2", "Name3"};
const char* const kLevels[] = {"Level1", "Level2", "Level3"};
const char* const kScores[] = {"Score1", "Score2", "Score3"};

void writeEntry(const char* game, const char* mode, int rank, const char* name, const char* level, const char* score) {
    writeWorldValue(scoreValueName(game, mode, kNames[rank]), name);
    writeWorldValue(scoreValueName(game, mode, kLevels[rank]), level);
    writeWorldValue(scoreValueName(game, mode, kScores[rank]), score);
}

// A place that any result was ever written to, whether or not it got a name.
bool recorded(const ScoreEntry& entry) { return entry.name[0] || entry.level[0] || entry.score[0]; }
}  // namespace

CString scoreValueName(const char* game, const char* mode, const char* suffix) {
    CString name(game);
    name += mode;
    name += suffix;
    return name;
}

ScoreTable readScoreTable(const char* game, const char* mode) {
    ScoreTable table;
    for (int rank = 0; rank < 3; ++rank)
        readWorldValue(scoreValueName(game, mode, kNames[rank]), table.entries[rank].name,
                       sizeof table.entries[rank].name);
    for (int rank = 0; rank < 3; ++rank)
        readWorldValue(scoreValueName(game, mode, kScores[rank]), table.entries[rank].score,
                       sizeof table.entries[rank].score);
    for (int rank = 0; rank < 3; ++rank)
        readWorldValue(scoreValueName(game, mode, kLevels[rank]), table.entries[rank].level,
                       sizeof table.entries[rank].level);
    return table;
}

bool scoreQualifies(const ScoreTable& table, int score) { return score > atoi(table.entries[2].score); }

void updateScoreTable(const char* game, const char* mode, const ScoreTable& table, const char* name, int score,
                      int level) {
    char scoreText[16];
    char levelText[16];
    snprintf(scoreText, sizeof scoreText, "%i", score);
    snprintf(levelText, sizeof levelText, "%i", level);

    int rank = 0;
    while (rank < 3 && !(score > atoi(table.entries[rank].score))) ++rank;
    if (rank == 3) return;
    writeEntry(game, mode, rank, name, levelText, scoreText);

    // Each place pushed out of its slot moves one down, unnamed results too; the chain stops at
    // a place that never held a result, so nothing recorded is lost or shown twice.
    for (int from = rank; from < 2 && recorded(table.entries[from]); ++from) {
        const ScoreEntry& moved = table.entries[from];
        writeEntry(game, mode, from + 1, moved.name, moved.level, moved.score);
    }
}
