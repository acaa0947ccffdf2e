// The three entry points the host calls, the same for every game over its description.
#include <cstring>

#include "GameScoreDlg.h"
#include "HostWindow.h"
#include "ModuleState.h"
#include "PluginContract.h"
#include "ScoreString.h"
#include "ThisGame.h"

extern "C" bool __stdcall fnGameStartDlgzorv(char* startString, int) {
    ModuleStateSwitch state;
    CString chosen;
    // No start string the dialogs yield is longer than the host's buffer: one that were starts nothing.
    if (!kThisGame.start(chosen) || !startString || !chosen.GetLength() || chosen.GetLength() >= kHostBufferSize)
        return false;
    memcpy(startString, chosen, chosen.GetLength() + 1);
    return true;
}

extern "C" int __stdcall fnGameScoreDlgzorv(char* scoreString, int) {
    ModuleStateSwitch state;
    CGameScoreDlg dialog(kThisGame.game);
    splitScoreString(scoreString, dialog.mode, dialog.score, dialog.level);
    return dialog.DoModal() == kThisGame.game.hallOfFame.other ? 1 : 0;
}

extern "C" bool __stdcall fnGameStopDlgzorv() {
    return confirmQuit(kThisGame.game.quitText, kThisGame.game.quitCaption);
}
