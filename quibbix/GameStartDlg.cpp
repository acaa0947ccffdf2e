#include "quibbix/GameStartDlg.h"

#include "CustomLevelsDlg.h"
#include "HostSettings.h"

CGameStartDlg::CGameStartDlg() : CDialog(IDD_QUIBBIX_START) {
    static const MessageMapEntry commands[] = {
        onClicked(IDC_RANDOM, &CGameStartDlg::OnRandom), onClicked(IDC_USER, &CGameStartDlg::OnUser),
        onClicked(IDC_SLOW, &CGameStartDlg::OnSlow),     onClicked(IDC_NORMAL, &CGameStartDlg::OnNormal),
        onClicked(IDC_FAST, &CGameStartDlg::OnFast),
    };
    SetCommands(commands);
}

void CGameStartDlg::DoDataExchange(CDataExchange* dx) {
    DDX_Control(dx, IDC_RANDOM, randomButton_);
    DDX_Control(dx, IDC_USER, userButton_);
}

BOOL CGameStartDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    randomButton_.SetBitmap(IDB_RANDOMIZER, randomImage_);
    userButton_.SetBitmap(IDB_CUSTOM, userImage_);
    speed = 0;
    CheckItem(IDC_SLOW, BST_UNCHECKED);
    CheckItem(IDC_NORMAL, BST_CHECKED);
    CheckItem(IDC_FAST, BST_UNCHECKED);
    return TRUE;
}

void CGameStartDlg::OnRandom() { EndDialog(IDC_RANDOM); }

void CGameStartDlg::OnUser() {
    CString baseFolder;
    if (!getInstallDir(baseFolder)) return;
    baseFolder += "games\\quibbix\\";
    CCustomLevelsDlg levels;
    levels.baseFolder = baseFolder;
    if (levels.DoModal() != IDOK) return;
    customFolder = levels.selectedFolder;
    EndDialog(IDC_USER);
}

void CGameStartDlg::OnSlow() { speed = -1; }

void CGameStartDlg::OnNormal() { speed = 0; }

void CGameStartDlg::OnFast() { speed = 1; }
