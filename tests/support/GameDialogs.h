// The games' dialogs as the tests, the walk-through and the benchmark find and answer them: each
// one's caption, its template, the button a player going the whole way presses and the other
// control a player works in it, all taken from the game's resource header.
#pragma once

struct GameDialog {
    const char* caption;  // null: the game has no such dialog
    int templateId;
    int button;
    int other;  // the notice's box, Random, the folder list, the name field, Replay
};

struct Game {
    const char* dll;
    const char* name;  // the value-name prefix
    GameDialog start, hallOfFame, nameEntry;
    GameDialog notice;        // Orvane's slow-system notice
    GameDialog customLevels;  // Quibbix's, behind its User button
};

extern const Game kOrvane, kQuibbix;
extern const Game* const kGames[2];
