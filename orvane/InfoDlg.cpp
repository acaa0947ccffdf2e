#include "InfoDlg.h"

#include "CenterOnDesktop.h"
#include "CurrentWorld.h"
#include "Handles.h"

namespace {
const char* const kFlag = "NoShowOrvaneInfoDlg";
}

CInfoDlg::CInfoDlg() : CDialog(IDD_INFO) {
    static const MessageMapEntry commands[] = {onClicked(IDC_NO_SHOW_AGAIN, &CInfoDlg::OnNoShowAgain)};
    SetCommands(commands);
}

void CInfoDlg::DoDataExchange(CDataExchange* dx) { DDX_Check(dx, IDC_NO_SHOW_AGAIN, noShowAgain); }

BOOL CInfoDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    noShowAgain = 1;
    CheckItem(IDC_NO_SHOW_AGAIN, BST_CHECKED);
    // Stored at once, so a player who just closes the notice is not asked again.
    OnNoShowAgain();
    centerOnDesktop(m_hWnd);
    return TRUE;
}

void CInfoDlg::OnNoShowAgain() {
    UpdateData(true);
    RegKey world = openWorldKey(KEY_SET_VALUE);
    if (!world) return;
    const DWORD flag = static_cast<DWORD>(noShowAgain);
    RegSetValueExA(world.get(), kFlag, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&flag), sizeof flag);
}

void showInfoDlgIfNeeded() {
    DWORD flag = 0;
    if (RegKey world = openWorldKey(KEY_QUERY_VALUE)) {
        DWORD size = sizeof flag;
        // A failed read may leave anything in the buffer; it counts as no flag.
        if (RegQueryValueExA(world.get(), kFlag, nullptr, nullptr, reinterpret_cast<BYTE*>(&flag), &size) !=
            ERROR_SUCCESS)
            flag = 0;
    }
    if (flag != 0) return;
    CInfoDlg notice;
    notice.DoModal();
}
