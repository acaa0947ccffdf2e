// What both plug-ins do as they load and when a game is over.
#pragma once

#include "HallOfFameDlg.h"

// The score entry point: with the plug-in's own resources current, takes the host's score
// string into the dialog and runs it; 1 when it ended with replayId.
int runHallOfFame(CHallOfFameDlg& dialog, char* scoreString, INT_PTR replayId);
