// The three entry points the host calls.
#include <windows.h>

#include <cstring>

#include "GameScoreDlg.h"
#include "HostWindow.h"
#include "ModuleState.h"
#include "PluginContract.h"
#include "ScoreString.h"
#include "orvane/GameStartDlg.h"

extern "C" bool __stdcall fnGameStartDlgzorv(char* startString, int) {
    ModuleStateSwitch state;
    CGameStartDlg dialog;
    if (dialog.DoModal() != IDC_FREEPLAY || !startString) return false;
    memcpy(startString, "default", sizeof "default");
    return true;
}

extern "C" int __stdcall fnGameScoreDlgzorv(char* scoreString, int) {
    ModuleStateSwitch state;
    CGameScoreDlg dialog;
    splitScoreString(scoreString, dialog.mode, dialog.score, dialog.level);
    return dialog.DoModal() == IDC_REPLAY ? 1 : 0;
}

extern "C" bool __stdcall fnGameStopDlgzorv() {
    return confirmQuit("Do you want to quit the current game of Orvane?", "Quit Orvane?");
}
