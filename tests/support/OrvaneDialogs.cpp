// Orvane's dialogs; a file of its own, as each game's resource header defines the same names.
#include "GameDialogs.h"

#include <windows.h>

#include "orvane/resource.h"

const Game kOrvane = {
    "orvane.dll",
    "Orvane",
    {CAPTION_GAME_START, IDD_GAME_START, IDC_FREEPLAY, IDCANCEL},
    {CAPTION_GAME_SCORE, IDD_GAME_SCORE, IDCANCEL, IDC_REPLAY},
    {CAPTION_NAME_ENTRY, IDD_NAME_ENTRY, IDOK, IDC_PLAYER_NAME},
    {CAPTION_INFO, IDD_INFO, IDOK, IDC_NO_SHOW_AGAIN},
    {},
};
