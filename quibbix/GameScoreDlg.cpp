#include "GameScoreDlg.h"

#include "quibbix/resource.h"

// Quibbix shows both its tables, whichever mode was played.
namespace {
const HallOfFame kHallOfFame = {IDD_GAME_SCORE,
                                IDC_REPLAY,
                                "Quibbix",
                                CAPTION_NAME_ENTRY,
                                {{"Random", IDC_TABLE1_NAME1}, {"User", IDC_TABLE2_NAME1}}};
}  // namespace

CGameScoreDlg::CGameScoreDlg() : CHallOfFameDlg(kHallOfFame) {}
