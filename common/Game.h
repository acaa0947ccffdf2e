// A game as its folder describes it, once: for the plug-in, which builds its entry points on it,
// and for the host, the tests and the benchmark, which find and answer its dialogs by it.
#pragma once

// A dialog as a player meets it: its caption, its template, the button a player going the whole
// way presses, and the other control a player works in it.
struct GameDialog {
    const char* caption;  // null: the game has no such dialog
    int templateId;
    int button;
    int other;
};

struct Game {
    const char* dll;
    const char* name;  // the value-name prefix
    const char* quitText;
    const char* quitCaption;
    GameDialog start;
    GameDialog hallOfFame;    // button Close, other Replay, whose id the score entry point answers 1 for
    GameDialog nameEntry;     // its caption is the one the name entry is given
    GameDialog notice;        // Orvane's slow-system notice
    GameDialog customLevels;  // Quibbix's, behind its User button
    // The tables the hall of fame shows: a mode (null: the mode played) and the first of its nine
    // cells, none when 0.
    struct Table {
        const char* mode;
        int firstCell;
    } tables[2];
};
