// The three entry points the host calls.
#include <windows.h>

#include <cstring>

#include "GameStartDlg.h"
#include "HostWindow.h"
#include "ModuleState.h"
#include "PluginEntry.h"

extern "C" bool __stdcall fnGameStartDlgzorv(char* startString, int) {
    ModuleStateSwitch state;
    CGameStartDlg dialog;
    if (dialog.DoModal() != IDC_FREEPLAY || !startString) return false;
    memcpy(startString, "default", sizeof "default");
    return true;
}

extern "C" int __stdcall fnGameScoreDlgzorv(char* scoreString, int) {
    static const HallOfFame hall = {
        IDD_GAME_SCORE, IDC_REPLAY, "Orvane", "Orvane Hall Of Fame", {{nullptr, IDC_TABLE1_NAME1}, {}}};
    return runHallOfFame(hall, scoreString);
}

extern "C" bool __stdcall fnGameStopDlgzorv() {
    return confirmQuit("Do you want to quit the current game of Orvane?", "Quit Orvane?");
}
