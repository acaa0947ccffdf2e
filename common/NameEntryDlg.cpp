#include "NameEntryDlg.h"

#include "HallOfFameIds.h"

namespace {
// Bytes, as the store is read: 8 two-byte characters would not fit where 8 letters do.
const int kMaxName = 8;
}  // namespace

CNameEntryDlg::CNameEntryDlg() : CDialog(IDD_NAME_ENTRY), title("Hall Of Fame") {
    static const MessageMapEntry commands[] = {onNotify(IDC_PLAYER_NAME, EN_CHANGE, &CNameEntryDlg::OnNameChange)};
    SetCommands(commands);
}

void CNameEntryDlg::DoDataExchange(CDataExchange* dx) {
    DDX_Text(dx, IDC_PLAYER_NAME, playerName);
    DDV_MaxChars(dx, playerName, kMaxName);
}

BOOL CNameEntryDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SetWindowText(title);
    SetItemBold(IDC_SCORE);
    SetItemBold(IDC_GAME_OVER);
    SetItemText(IDC_SCORE, scoreText);
    return TRUE;
}

// Windows' edit field counts its limit in bytes, Wine's in characters: what goes past the limit is
// cut here, after the last whole character that fits, so that OK always takes what is shown.
void CNameEntryDlg::OnNameChange() {
    CString name;
    GetItemText(IDC_PLAYER_NAME, name);
    char* const text = name.GetBuffer(0);
    if (!text) return;
    char* end = text;
    for (char* next; *end && (next = CharNextA(end)) - text <= kMaxName;) end = next;
    if (!*end) return;
    *end = 0;
    name.ReleaseBuffer();
    SetItemText(IDC_PLAYER_NAME, name);
    SendItemMessage(IDC_PLAYER_NAME, EM_SETSEL, name.GetLength(), name.GetLength());
}
