// A game's three-place hall of fame for one mode, kept as nine world values.
#pragma once

#include "CString.h"
#include "PluginContract.h"

// The three texts of one place, exactly as stored; the sizes are the read capacities.
struct ScoreEntry {
    char name[16];
    char level[32];
    char score[32];
};

// Rank 1 first: the nine texts as read, each by a lookup of its own that resolves the world anew, so
// another host may change the store between two of them; only enterResult reads under the lock.
struct ScoreTable {
    ScoreEntry entries[kScoreRanks];
    // False when a text could not be read: a result entered from such a snapshot could
    // overwrite or move what it missed, so none enters.
    bool readable = true;
};

// Each read resolves the world anew, with its trace lines and perhaps a search and a box, so the
// order of the reads shows, and each reader keeps its own: names, then scores, then levels here,
// the table an update decides on...
ScoreTable readScoreTable(const char* game, const char* mode);
// ...and rank by rank, name, level and score, as a display fills its cells.
ScoreTable readScoreTableForDisplay(const char* game, const char* mode);

// True when the score beats the third place of a readable table.
bool scoreQualifies(const ScoreTable& table, int score);

// Enters a result into the table as stored now, read again for it: a result another host stored
// while the name was typed moves down or stays, and a score the table no longer takes is not
// entered. Every process holds the same lock meanwhile, so two hosts finishing together keep both.
void enterResult(const char* game, const char* mode, const char* name, int score, int level);

// Enters a result into the table it was read as, moving recorded places down. When the store
// refuses a text, the texts already replaced are put back, so the table stays whole.
void updateScoreTable(const char* game, const char* mode, const ScoreTable& table, const char* name, int score,
                      int level);
