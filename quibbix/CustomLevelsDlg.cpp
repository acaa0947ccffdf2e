#include "CustomLevelsDlg.h"

#include <cstring>

#include "FileFind.h"
#include "GameStartDlg.h"

namespace {
const char kBuiltInSet[] = "Vellomy";
}  // namespace

bool isUsableSetName(const char* name) {
    const size_t length = strlen(name);
    // The narrow search spells a character the code page lacks as "?", which no file name holds,
    // so such a name names no folder. "?" is never the second byte of a two-byte character.
    return length > 0 && length <= static_cast<size_t>(kMaxSetName) && strcmp(name, ".") != 0 &&
           strcmp(name, "..") != 0 && !strchr(name, '?');
}

void CCustomLevelsDlg::DoDataExchange(CDataExchange* dx) {
    DDX_Control(dx, IDC_FOLDER_LIST, folderList);
    DDX_Text(dx, IDC_BASE_FOLDER, baseFolder);
}

BOOL CCustomLevelsDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    CString pattern = baseFolder;
    pattern += "*.*";
    CFileFind finder;
    // The finder reports "no more" on the step that reaches the last entry.
    for (bool more = finder.FindFile(pattern); more;) {
        more = finder.FindNextFile();
        if (finder.IsDirectory() && isUsableSetName(finder.GetFileName())) folderList.AddString(finder.GetFileName());
    }
    folderList.InsertString(0, kBuiltInSet);
    folderList.SetCurSel(0);
    folderList.LimitText(kMaxSetName);
    return TRUE;
}

void CCustomLevelsDlg::OnOK() {
    // The field is editable: typed text counts only as the listed entry it names, in the
    // list's own spelling, so nothing else reaches the host as a path.
    CString typed;
    folderList.GetWindowText(typed);
    int index = folderList.GetCurSel();
    CString chosen;
    if (index >= 0) folderList.GetLBText(index, chosen);
    if (index < 0 || strcmp(chosen, typed) != 0) {
        index = isUsableSetName(typed) ? folderList.FindStringExact(-1, typed) : CB_ERR;
        if (index < 0) {
            MessageBeep(MB_OK);
            SetFocus(folderList.GetSafeHwnd());
            return;
        }
        folderList.GetLBText(index, chosen);
    }
    selectedFolder = chosen;
    CDialog::OnOK();
}
