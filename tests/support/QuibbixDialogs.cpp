// Quibbix's dialogs; a file of its own, as each game's resource header defines the same names.
#include "GameDialogs.h"

#include <windows.h>

#include "quibbix/resource.h"

const Game kQuibbix = {
    "quibbix.dll",
    "Quibbix",
    {CAPTION_GAME_START, IDD_GAME_START, IDC_USER, IDC_RANDOM},
    {CAPTION_GAME_SCORE, IDD_GAME_SCORE, IDCANCEL, IDC_REPLAY},
    {CAPTION_NAME_ENTRY, IDD_NAME_ENTRY, IDOK, IDC_PLAYER_NAME},
    {},
    {CAPTION_CUSTOM_LEVELS, IDD_CUSTOM_LEVELS, IDOK, IDC_FOLDER_LIST},
};

const Game* const kGames[2] = {&kOrvane, &kQuibbix};
