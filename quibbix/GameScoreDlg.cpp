#include "GameScoreDlg.h"

#include "ScoreTable.h"

const MessageMapEntry CGameScoreDlg::messageMap[] = {
    onClicked(IDC_REPLAY, &CGameScoreDlg::OnReplay),
    {},
};

const MessageMapEntry* CGameScoreDlg::GetMessageMap() const { return messageMap; }

// Both tables, whatever mode was played; the store matches the names without regard to case.
void CGameScoreDlg::ShowTables() {
    showScoreTable(m_hWnd, game(), "Random", IDC_RANDOM_NAME1);
    showScoreTable(m_hWnd, game(), "User", IDC_USER_NAME1);
}

void CGameScoreDlg::OnReplay() { EndDialog(IDC_REPLAY); }
