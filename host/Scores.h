// The halls of fame of the current world, read through the host's registry layout without
// changing anything: `zorvhost scores`.
#pragma once

#include <string>
#include <vector>

// One stored value; a missing value is told apart from an empty one.
struct StoredText {
    bool exists = false;
    std::string text;  // the stored bytes up to the first zero byte
};

// Cells by rank (1 to 3, from index 0) and field: name, level, score.
struct StoredTable {
    std::string game;  // its value-name prefix, as "Orvane"
    std::string mode;  // as spelled in the value names; the first in ASCII order when they differ
    StoredText cells[3][3];
};

struct WorldScores {
    enum Status { kRead, kNotInstalled, kNoCurrentWorld, kNoWorldKey } status = kNotInstalled;
    std::string world;                // CurrMovie as stored
    std::vector<StoredTable> tables;  // in the order the host plays the games, modes in alphabetical order
};

WorldScores readWorldScores();

std::string formatScores(const WorldScores& scores);

// The scores command; its exit code.
int printScores();
