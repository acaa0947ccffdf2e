#include "HallOfFameDlg.h"

#include "BoldFont.h"
#include "NameEntryDlg.h"
#include "NameEntryIds.h"
#include "ScoreTable.h"

BOOL CHallOfFameDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    // Taken before the name is asked for; the update works from it whatever happens meanwhile.
    const ScoreTable snapshot = readScoreTable(game_, mode);
    CString scoreText;
    scoreText.Format("%i", score);

    HWND scoreControl = GetDlgItem(IDC_SCORE);
    boldFont_.reset(createBoldFont(scoreControl));
    if (boldFont_) ::SendMessageA(scoreControl, WM_SETFONT, reinterpret_cast<WPARAM>(boldFont_.get()), TRUE);
    ::SetWindowTextA(scoreControl, scoreText);

    // This dialog is not shown yet, so the name is asked for on its own.
    if (scoreQualifies(snapshot, score)) {
        CNameEntryDlg nameEntry;
        nameEntry.title = nameEntryTitle_;
        nameEntry.scoreText = scoreText;
        nameEntry.DoModal();
        updateScoreTable(game_, mode, snapshot, nameEntry.playerName, score, level);
    }
    ShowTables();
    return TRUE;
}
