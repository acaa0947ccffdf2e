#include "GameScoreDlg.h"

#include "HallOfFameIds.h"
#include "NameEntryDlg.h"
#include "ScoreTable.h"

BOOL CGameScoreDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    CString scoreText;
    scoreText.Format("%i", score);
    SetItemBold(IDC_SCORE);
    SetItemText(IDC_SCORE, scoreText);

    // This dialog is not shown yet, so the name is asked for on its own.
    if (scoreQualifies(readScoreTable(game_.name, mode), score)) {
        CNameEntryDlg nameEntry;
        nameEntry.title = game_.nameEntry.caption;
        nameEntry.scoreText = scoreText;
        nameEntry.DoModal();
        enterResult(game_.name, mode, nameEntry.playerName, score, level);
    }
    // A table of the mode played, or of a mode the game names whatever was played.
    for (const Game::Table& table : game_.tables)
        if (table.firstCell) showTable(table.mode ? table.mode : static_cast<const char*>(mode), table.firstCell);
    return TRUE;
}

void CGameScoreDlg::showTable(const char* tableMode, int firstCell) {
    const ScoreTable table = readScoreTableForDisplay(game_.name, tableMode);
    for (const ScoreEntry& entry : table.entries) {
        SetItemText(firstCell++, entry.name);
        SetItemText(firstCell++, entry.level);
        SetItemText(firstCell++, entry.score);
    }
}
