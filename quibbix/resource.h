// Resource ids of the Quibbix plug-in, named so that they stand beside the other games'.
#pragma once

#include "HallOfFameIds.h"

#define IDB_RANDOMIZER 106
#define IDD_QUIBBIX_START 128
#define IDD_CUSTOM_LEVELS 131
#define IDB_CUSTOM 134

// Captions, each named once for the script, the code and whatever finds a dialog by it.
#define CAPTION_QUIBBIX_START "Quibbix Start Game Dialog"
#define CAPTION_CUSTOM_LEVELS "Quibbix Custom Levels Selection"
#define CAPTION_QUIBBIX_SCORE "Quibbix Hall of Fame"
#define CAPTION_QUIBBIX_NAME_ENTRY "Quibbix Hall Of Fame"

#define IDC_RANDOM 102
#define IDC_USER 104
#define IDC_QUIBBIX_REPLAY 3
#define IDC_FOLDER_LIST 1000
#define IDC_BASE_FOLDER 1001
#define IDC_SLOW 1002
#define IDC_NORMAL 1003
#define IDC_FAST 1004

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
