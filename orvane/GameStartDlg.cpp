#include "orvane/GameStartDlg.h"

#include "CenterOnDesktop.h"
#include "InfoDlg.h"

CGameStartDlg::CGameStartDlg() : CDialog(IDD_ORVANE_START) {
    static const MessageMapEntry commands[] = {onClicked(IDC_FREEPLAY, &CGameStartDlg::OnFreeplay)};
    SetCommands(commands);
}

void CGameStartDlg::DoDataExchange(CDataExchange* dx) { DDX_Control(dx, IDC_FREEPLAY, freeplayButton_); }

BOOL CGameStartDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    freeplayButton_.SetBitmap(IDB_DEPLOY, freeplayImage_);
    centerOnDesktop(m_hWnd);
    showInfoDlgIfNeeded();
    return TRUE;
}

void CGameStartDlg::OnFreeplay() { EndDialog(IDC_FREEPLAY); }
