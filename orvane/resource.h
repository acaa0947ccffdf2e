// Resource ids of the Orvane plug-in.
#pragma once

#include "NameEntryIds.h"

#define IDD_GAME_START 101
#define IDB_BANNER 103
#define IDB_DEPLOY 106
#define IDD_GAME_SCORE 107
#define IDB_HIGH_SCORE 125
#define IDD_INFO 131

#define IDC_FREEPLAY 102
#define IDC_RANK1_NAME 110
#define IDC_RANK1_LEVEL 111
#define IDC_RANK1_SCORE 112
#define IDC_RANK2_NAME 113
#define IDC_RANK2_LEVEL 114
#define IDC_RANK2_SCORE 115
#define IDC_RANK3_NAME 116
#define IDC_RANK3_LEVEL 117
#define IDC_RANK3_SCORE 118
#define IDC_REPLAY 1000
#define IDC_NO_SHOW_AGAIN 1001

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
