#include "GameScoreDlg.h"

#include "orvane/resource.h"

// Orvane shows its one table.
namespace {
const HallOfFame kHallOfFame = {IDD_GAME_SCORE, "Orvane", "Orvane Hall Of Fame", {{nullptr, IDC_TABLE1_NAME1}, {}}};
}  // namespace

CGameScoreDlg::CGameScoreDlg() : CHallOfFameDlg(kHallOfFame) {}

const MessageMapEntry CGameScoreDlg::messageMap[] = {
    onClicked(IDC_REPLAY, &CGameScoreDlg::OnReplay),
    {},
};

const MessageMapEntry* CGameScoreDlg::GetMessageMap() const { return messageMap; }

void CGameScoreDlg::OnReplay() { EndDialog(IDC_REPLAY); }
