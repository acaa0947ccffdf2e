// What both plug-ins do as they load and when a game is over.
#pragma once

#include "HallOfFameDlg.h"

// The score entry point: with the plug-in's own resources current, takes the host's score
// string into the game's hall of fame and runs it; 1 when the player asked for another game.
int runHallOfFame(const HallOfFame& hall, char* scoreString);
