#include "NameEntryDlg.h"

#include "HallOfFameIds.h"

CNameEntryDlg::CNameEntryDlg() : CDialog(IDD_NAME_ENTRY), title("Hall Of Fame") {}

void CNameEntryDlg::DoDataExchange(CDataExchange* dx) {
    DDX_Text(dx, IDC_PLAYER_NAME, playerName);
    DDV_MaxChars(dx, playerName, 8);
}

BOOL CNameEntryDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SetWindowText(title);
    SetItemBold(IDC_SCORE);
    SetItemBold(IDC_GAME_OVER);
    SetItemText(IDC_SCORE, scoreText);
    return TRUE;
}
