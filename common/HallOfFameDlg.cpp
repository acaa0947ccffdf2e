#include "HallOfFameDlg.h"

#include "BoldFont.h"
#include "NameEntryDlg.h"
#include "HallOfFameIds.h"
#include "ScoreTable.h"

CHallOfFameDlg::CHallOfFameDlg(const HallOfFame& hall)
    : CDialog(hall.templateId), hall_(hall), messageMap_{onClicked(hall.replayId, &CHallOfFameDlg::OnReplay), {}} {}

BOOL CHallOfFameDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    // Tells whether to ask for a name at all.
    const ScoreTable snapshot = readScoreTable(hall_.game, mode);
    CString scoreText;
    scoreText.Format("%i", score);

    HWND scoreControl = GetDlgItem(IDC_SCORE);
    boldFont_.reset(createBoldFont(scoreControl));
    if (boldFont_) ::SendMessageA(scoreControl, WM_SETFONT, reinterpret_cast<WPARAM>(boldFont_.get()), TRUE);
    ::SetWindowTextA(scoreControl, scoreText);

    // This dialog is not shown yet, so the name is asked for on its own.
    if (scoreQualifies(snapshot, score)) {
        CNameEntryDlg nameEntry;
        nameEntry.title = hall_.nameEntryTitle;
        nameEntry.scoreText = scoreText;
        nameEntry.DoModal();
        // Another host may have stored a result while the name was typed: the update applies to
        // the table as stored now, which may no longer take this score.
        updateScoreTable(hall_.game, mode, readScoreTable(hall_.game, mode), nameEntry.playerName, score, level);
    }
    // Quibbix shows both its tables whatever mode was played; the store matches the names
    // without regard to case.
    for (const HallOfFame::Table& table : hall_.tables)
        if (table.firstControl)
            showScoreTable(m_hWnd, hall_.game, table.mode ? table.mode : static_cast<const char*>(mode),
                           table.firstControl);
    return TRUE;
}

void CHallOfFameDlg::OnReplay() { EndDialog(hall_.replayId); }
