#include "quibbix/GameStartDlg.h"

#include "CustomLevelsDlg.h"
#include "HostSettings.h"
#include "ModuleState.h"

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

namespace {
HANDLE loadBitmap(int id) { return LoadImageA(pluginInstance(), MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, 0); }
}  // namespace

BOOL CGameStartDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    randomImage_.reset(loadBitmap(IDB_RANDOMIZER));
    randomButton_.SetBitmap(static_cast<HBITMAP>(randomImage_.get()));
    userImage_.reset(loadBitmap(IDB_CUSTOM));
    userButton_.SetBitmap(static_cast<HBITMAP>(userImage_.get()));
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
