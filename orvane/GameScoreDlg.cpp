#include "GameScoreDlg.h"

#include "ScoreTable.h"

const MessageMapEntry CGameScoreDlg::messageMap[] = {
    onClicked(IDC_REPLAY, &CGameScoreDlg::OnReplay),
    {},
};

const MessageMapEntry* CGameScoreDlg::GetMessageMap() const { return messageMap; }

void CGameScoreDlg::ShowTables() { showScoreTable(m_hWnd, game(), mode, IDC_RANK1_NAME); }

void CGameScoreDlg::OnReplay() { EndDialog(IDC_REPLAY); }
