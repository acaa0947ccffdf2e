#include "GameScoreDlg.h"

#include "orvane/resource.h"

// Orvane shows its one table.
namespace {
const HallOfFame kHallOfFame = {
    IDD_GAME_SCORE, IDC_REPLAY, "Orvane", CAPTION_NAME_ENTRY, {{nullptr, IDC_TABLE1_NAME1}, {}}};
}  // namespace

CGameScoreDlg::CGameScoreDlg() : CHallOfFameDlg(kHallOfFame) {}
