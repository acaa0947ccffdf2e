// The game a plug-in plays, which its folder defines; the entry points are the same over it.
#pragma once

#include "CString.h"
#include "Game.h"

struct ThisGame {
    const Game& game;
    // Runs the start dialog; true, with the start string, when the player chose a way to play.
    bool (*start)(CString& startString);
};
extern const ThisGame kThisGame;
