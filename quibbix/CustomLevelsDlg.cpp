#include "CustomLevelsDlg.h"

#include <cstring>

#include "FileFind.h"
#include "PluginContract.h"

namespace {
const char kBuiltInSet[] = "Vellomy";
}  // namespace

bool isUsableSetName(const char* name) {
    const size_t length = strlen(name);
    return length > 0 && length <= static_cast<size_t>(kMaxSetName);
}

void CCustomLevelsDlg::DoDataExchange(CDataExchange* dx) {
    DDX_Control(dx, IDC_FOLDER_LIST, folderList_);
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
        if (finder.IsDirectory() && !finder.IsDots() && finder.HasExactName() && isUsableSetName(finder.GetFileName()))
            folderList_.AddString(finder.GetFileName());
    }
    folderList_.InsertString(0, kBuiltInSet);
    folderList_.SetCurSel(0);
    folderList_.LimitText(kMaxSetName);
    return TRUE;
}

void CCustomLevelsDlg::OnOK() {
    // The field is editable: typed text counts only as the listed entry it names, in the
    // list's own spelling, so nothing else reaches the host as a path.
    CString typed;
    folderList_.GetWindowText(typed);
    int index = folderList_.GetCurSel();
    CString chosen;
    if (index >= 0) folderList_.GetLBText(index, chosen);
    if (index < 0 || strcmp(chosen, typed) != 0) {
        index = isUsableSetName(typed) ? folderList_.FindStringExact(-1, typed) : CB_ERR;
        if (index < 0) {
            RefuseInput(folderList_.m_hWnd);
            return;
        }
        folderList_.GetLBText(index, chosen);
    }
    selectedFolder = chosen;
    CDialog::OnOK();
}
