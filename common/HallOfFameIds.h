// Resource ids alike in both plug-ins' resource scripts: the title banner, the hall of fame and its
// name entry.
#pragma once

#define IDB_BANNER 103
#define IDD_GAME_SCORE 107
#define IDD_NAME_ENTRY 123
#define IDC_SCORE 119
#define IDC_GAME_OVER 120
#define IDC_PLAYER_NAME 124

// The first of a table's nine cells, which follow it in order: name, level and score of rank 1,
// then of ranks 2 and 3. Orvane shows one table, Quibbix two.
#define IDC_TABLE1_NAME1 110
#define IDC_TABLE2_NAME1 121
