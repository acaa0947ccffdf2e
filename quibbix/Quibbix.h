// Quibbix, a paddle-and-ball game with random or custom level sets and three ball speeds.
#pragma once

#include <windows.h>

#include "Game.h"
#include "quibbix/resource.h"

// Both its tables, whichever mode was played; the store matches value names without regard to case.
inline constexpr Game kQuibbix = {
    "quibbix.dll",
    "Quibbix",
    "Do you want to quit the current game of Quibbix?",
    "Quit Quibbix?",
    {CAPTION_QUIBBIX_START, IDD_QUIBBIX_START, IDC_USER, IDC_RANDOM},
    {CAPTION_QUIBBIX_SCORE, IDD_GAME_SCORE, IDCANCEL, IDC_QUIBBIX_REPLAY},
    {CAPTION_QUIBBIX_NAME_ENTRY, IDD_NAME_ENTRY, IDOK, IDC_PLAYER_NAME},
    {},
    {CAPTION_CUSTOM_LEVELS, IDD_CUSTOM_LEVELS, IDOK, IDC_FOLDER_LIST},
    {{"Random", IDC_TABLE1_NAME1}, {"User", IDC_TABLE2_NAME1}},
};
