#include "GameScoreDlg.h"

#include "CurrentWorld.h"
#include "ScoreTable.h"

namespace {
struct Cell {
    const char* suffix;
    DWORD capacity;
    int control;
};
const Cell kCells[] = {
    {"Name1", 16, IDC_RANK1_NAME}, {"Level1", 32, IDC_RANK1_LEVEL}, {"Score1", 32, IDC_RANK1_SCORE},
    {"Name2", 16, IDC_RANK2_NAME}, {"Level2", 32, IDC_RANK2_LEVEL}, {"Score2", 32, IDC_RANK2_SCORE},
    {"Name3", 16, IDC_RANK3_NAME}, {"Level3", 32, IDC_RANK3_LEVEL}, {"Score3", 32, IDC_RANK3_SCORE},
};
}  // namespace

const MessageMapEntry CGameScoreDlg::messageMap[] = {
    onClicked(IDC_REPLAY, &CGameScoreDlg::OnReplay),
    {},
};

const MessageMapEntry* CGameScoreDlg::GetMessageMap() const { return messageMap; }

// Read afresh, never from the snapshot: the table shows what the store now holds.
void CGameScoreDlg::ShowTables() {
    for (const Cell& cell : kCells) {
        char text[32];
        readWorldValue(scoreValueName(game(), mode, cell.suffix), text, cell.capacity);
        SetDlgItemTextA(m_hWnd, cell.control, text);
    }
}

void CGameScoreDlg::OnReplay() { EndDialog(IDC_REPLAY); }
