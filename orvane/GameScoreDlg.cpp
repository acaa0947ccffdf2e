#include "GameScoreDlg.h"

#include <cstdio>

#include "BoldFont.h"
#include "CurrentWorld.h"
#include "NameEntryDlg.h"
#include "ScoreTable.h"

namespace {
const char* const kGame = "Orvane";

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

BOOL CGameScoreDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    const ScoreTable snapshot = readScoreTable(kGame, mode);
    CString scoreText;
    scoreText.Format("%i", score);

    HWND scoreControl = GetDlgItem(IDC_SCORE);
    boldFont_.reset(createBoldFont(scoreControl));
    if (boldFont_) ::SendMessageA(scoreControl, WM_SETFONT, reinterpret_cast<WPARAM>(boldFont_.get()), TRUE);
    SetDlgItemTextA(m_hWnd, IDC_SCORE, scoreText);

    // This dialog is not shown yet, so the name is asked for on its own.
    if (scoreQualifies(snapshot, score)) {
        CNameEntryDlg nameEntry;
        nameEntry.title = "Orvane Hall Of Fame";
        nameEntry.scoreText = scoreText;
        nameEntry.DoModal();
        updateScoreTable(kGame, mode, snapshot, nameEntry.playerName, score, level);
    }

    for (const Cell& cell : kCells) {
        char text[32];
        readWorldValue(scoreValueName(kGame, mode, cell.suffix), text, cell.capacity);
        SetDlgItemTextA(m_hWnd, cell.control, text);
    }
    return TRUE;
}

void CGameScoreDlg::OnReplay() { EndDialog(IDC_REPLAY); }
