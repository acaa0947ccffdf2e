// Resource ids of the Orvane plug-in, named so that they stand beside the other games'.
#pragma once

#include "HallOfFameIds.h"

#define IDD_ORVANE_START 101
#define IDB_DEPLOY 106
#define IDB_HIGH_SCORE 125
#define IDD_INFO 131

// Captions, each named once for the script, the code and whatever finds a dialog by it.
#define CAPTION_ORVANE_START "Orvane Start Game Dialog"
#define CAPTION_ORVANE_SCORE "Orvane Hall of Fame"
#define CAPTION_ORVANE_NAME_ENTRY "Orvane Hall Of Fame"
#define CAPTION_INFO "Orvane Info"

#define IDC_FREEPLAY 102
#define IDC_ORVANE_REPLAY 1000
#define IDC_NO_SHOW_AGAIN 1001

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
