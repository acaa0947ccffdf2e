// Resource ids of the hall of fame and its name entry, alike in both plug-ins' resource scripts.
#pragma once

#define IDD_NAME_ENTRY 123
#define IDC_SCORE 119
#define IDC_GAME_OVER 120
#define IDC_PLAYER_NAME 124

// A table's nine cells: name, level and score of rank 1, then of ranks 2 and 3. Orvane shows
// one table, Quibbix two.
#define IDC_TABLE1_NAME1 110
#define IDC_TABLE1_LEVEL1 111
#define IDC_TABLE1_SCORE1 112
#define IDC_TABLE1_NAME2 113
#define IDC_TABLE1_LEVEL2 114
#define IDC_TABLE1_SCORE2 115
#define IDC_TABLE1_NAME3 116
#define IDC_TABLE1_LEVEL3 117
#define IDC_TABLE1_SCORE3 118
#define IDC_TABLE2_NAME1 121
#define IDC_TABLE2_LEVEL1 122
#define IDC_TABLE2_SCORE1 123
#define IDC_TABLE2_NAME2 124
#define IDC_TABLE2_LEVEL2 125
#define IDC_TABLE2_SCORE2 126
#define IDC_TABLE2_NAME3 127
#define IDC_TABLE2_LEVEL3 128
#define IDC_TABLE2_SCORE3 129
