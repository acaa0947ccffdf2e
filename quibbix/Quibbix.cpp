// The game this plug-in plays, and what its start dialog yields: random levels or the custom set
// chosen, at the ball speed chosen.
#include "ThisGame.h"
#include "quibbix/GameStartDlg.h"
#include "quibbix/Quibbix.h"

namespace {
bool start(CString& startString) {
    CGameStartDlg dialog;
    const INT_PTR result = dialog.DoModal();
    if (result == IDC_RANDOM) startString.Format("random*%i", dialog.speed);
    if (result == IDC_USER)
        startString.Format("user*%s*%i", static_cast<const char*>(dialog.customFolder), dialog.speed);
    return result == IDC_RANDOM || result == IDC_USER;
}
}  // namespace

const ThisGame kThisGame = {kQuibbix, start};
