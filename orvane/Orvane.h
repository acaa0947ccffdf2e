// Orvane, a shooting game with one way to play.
#pragma once

#include <windows.h>

#include "Game.h"
#include "orvane/resource.h"

inline constexpr Game kOrvane = {
    "orvane.dll",
    "Orvane",
    "Do you want to quit the current game of Orvane?",
    "Quit Orvane?",
    {CAPTION_ORVANE_START, IDD_ORVANE_START, IDC_FREEPLAY, IDCANCEL},
    {CAPTION_ORVANE_SCORE, IDD_GAME_SCORE, IDCANCEL, IDC_ORVANE_REPLAY},
    {CAPTION_ORVANE_NAME_ENTRY, IDD_NAME_ENTRY, IDOK, IDC_PLAYER_NAME},
    {CAPTION_INFO, IDD_INFO, IDOK, IDC_NO_SHOW_AGAIN},
    {},
    {{nullptr, IDC_TABLE1_NAME1}, {}},
};
