// Resource ids of the Quibbix plug-in.
#pragma once

#include "HallOfFameIds.h"

#define IDB_BANNER 103
#define IDB_RANDOMIZER 106
#define IDD_GAME_SCORE 107
#define IDD_GAME_START 128
#define IDD_CUSTOM_LEVELS 131
#define IDB_CUSTOM 134

// Captions, each named once for the script, the code and whatever finds a dialog by it.
#define CAPTION_GAME_START "Quibbix Start Game Dialog"
#define CAPTION_CUSTOM_LEVELS "Quibbix Custom Levels Selection"
#define CAPTION_GAME_SCORE "Quibbix Hall of Fame"
#define CAPTION_NAME_ENTRY "Quibbix Hall Of Fame"

#define IDC_RANDOM 102
#define IDC_USER 104
#define IDC_REPLAY 3
#define IDC_FOLDER_LIST 1000
#define IDC_BASE_FOLDER 1001
#define IDC_SLOW 1002
#define IDC_NORMAL 1003
#define IDC_FAST 1004

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
