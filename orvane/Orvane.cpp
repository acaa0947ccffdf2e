// The game this plug-in plays, and what its start dialog yields: Orvane's one way to play.
#include "ThisGame.h"
#include "orvane/GameStartDlg.h"
#include "orvane/Orvane.h"

namespace {
bool start(CString& startString) {
    CGameStartDlg dialog;
    if (dialog.DoModal() != IDC_FREEPLAY) return false;
    startString = "default";
    return true;
}
}  // namespace

const ThisGame kThisGame = {kOrvane, start};
