#include "HallOfFameDlg.h"

#include "HallOfFameIds.h"
#include "NameEntryDlg.h"
#include "ScoreTable.h"

BOOL CHallOfFameDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    CString scoreText;
    scoreText.Format("%i", score);
    SetItemBold(IDC_SCORE);
    SetItemText(IDC_SCORE, scoreText);

    // This dialog is not shown yet, so the name is asked for on its own.
    if (scoreQualifies(readScoreTable(hall_.game, mode), score)) {
        CNameEntryDlg nameEntry;
        nameEntry.title = hall_.nameEntryTitle;
        nameEntry.scoreText = scoreText;
        nameEntry.DoModal();
        enterResult(hall_.game, mode, nameEntry.playerName, score, level);
    }
    // Quibbix shows both its tables whatever mode was played; the store matches the names
    // without regard to case.
    for (const HallOfFame::Table& table : hall_.tables)
        if (table.firstCell) showTable(table.mode ? table.mode : static_cast<const char*>(mode), table.firstCell);
    return TRUE;
}

void CHallOfFameDlg::showTable(const char* tableMode, int firstCell) {
    const ScoreTable table = readScoreTableForDisplay(hall_.game, tableMode);
    for (const ScoreEntry& entry : table.entries) {
        SetItemText(firstCell++, entry.name);
        SetItemText(firstCell++, entry.level);
        SetItemText(firstCell++, entry.score);
    }
}
