// Resource ids of the name-entry dialog, shared by both plug-ins' resource scripts.
#pragma once

#define IDD_NAME_ENTRY 123
#define IDC_SCORE 119
#define IDC_GAME_OVER 120
#define IDC_PLAYER_NAME 124
