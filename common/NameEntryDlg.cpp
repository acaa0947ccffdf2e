#include "NameEntryDlg.h"

#include "BoldFont.h"
#include "HallOfFameIds.h"

CNameEntryDlg::CNameEntryDlg() : CDialog(IDD_NAME_ENTRY), title("Hall Of Fame") {}

void CNameEntryDlg::DoDataExchange(CDataExchange* dx) {
    DDX_Text(dx, IDC_PLAYER_NAME, playerName);
    DDV_MaxChars(dx, playerName, 8);
}

BOOL CNameEntryDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SetWindowText(title);
    HWND score = GetDlgItem(IDC_SCORE);
    HWND gameOver = GetDlgItem(IDC_GAME_OVER);
    boldFont_.reset(createBoldFont(score));
    if (boldFont_) {
        ::SendMessageA(score, WM_SETFONT, reinterpret_cast<WPARAM>(boldFont_.get()), TRUE);
        ::SendMessageA(gameOver, WM_SETFONT, reinterpret_cast<WPARAM>(boldFont_.get()), TRUE);
    }
    SetDlgItemTextA(m_hWnd, IDC_SCORE, scoreText);
    return TRUE;
}
