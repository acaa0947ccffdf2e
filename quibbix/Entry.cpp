// The three entry points the host calls.

// Before any C++ header, which would swap msvcrt's printf family for the compiler runtime's.
#include <stdio.h>

#include <windows.h>

#include <cstring>

#include "GameScoreDlg.h"
#include "HostWindow.h"
#include "ModuleState.h"
#include "PluginContract.h"
#include "ScoreString.h"
#include "quibbix/GameStartDlg.h"

extern "C" bool __stdcall fnGameStartDlgzorv(char* startString, int) {
    ModuleStateSwitch state;
    CGameStartDlg dialog;
    const INT_PTR result = dialog.DoModal();
    if (!startString) return false;
    char text[kHostBufferSize];
    int length;
    if (result == IDC_RANDOM)
        length = snprintf(text, sizeof text, "random*%i", dialog.speed);
    else if (result == IDC_USER)
        length = snprintf(text, sizeof text, "user*%s*%i", static_cast<const char*>(dialog.customFolder), dialog.speed);
    else
        return false;
    // The list offers no name that would not fit; this holds whatever the dialog hands on.
    if (length < 0 || length >= kHostBufferSize) return false;
    memcpy(startString, text, length + 1);
    return true;
}

extern "C" int __stdcall fnGameScoreDlgzorv(char* scoreString, int) {
    ModuleStateSwitch state;
    CGameScoreDlg dialog;
    splitScoreString(scoreString, dialog.mode, dialog.score, dialog.level);
    return dialog.DoModal() == IDC_REPLAY ? 1 : 0;
}

extern "C" bool __stdcall fnGameStopDlgzorv() {
    return confirmQuit("Do you want to quit the current game of Quibbix?", "Quit Quibbix?");
}
