#include "orvane/GameStartDlg.h"

#include "CenterOnDesktop.h"
#include "InfoDlg.h"
#include "ModuleState.h"

CGameStartDlg::CGameStartDlg() : CDialog(IDD_ORVANE_START) {
    static const MessageMapEntry commands[] = {onClicked(IDC_FREEPLAY, &CGameStartDlg::OnFreeplay)};
    SetCommands(commands);
}

void CGameStartDlg::DoDataExchange(CDataExchange* dx) { DDX_Control(dx, IDC_FREEPLAY, freeplayButton_); }

BOOL CGameStartDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    freeplayImage_.reset(LoadImageA(pluginInstance(), MAKEINTRESOURCEA(IDB_DEPLOY), IMAGE_BITMAP, 0, 0, 0));
    freeplayButton_.SetBitmap(static_cast<HBITMAP>(freeplayImage_.get()));
    centerOnDesktop(m_hWnd);
    showInfoDlgIfNeeded();
    return TRUE;
}

void CGameStartDlg::OnFreeplay() { EndDialog(IDC_FREEPLAY); }
