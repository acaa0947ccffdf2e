#pragma once

#include "CString.h"
#include "Dialog.h"
#include "resource.h"

// Lets the player pick a custom level folder under the base folder, or the built-in set.
class CCustomLevelsDlg : public CDialog {
public:
    CCustomLevelsDlg() : CDialog(IDD_CUSTOM_LEVELS) {}

    CString selectedFolder;
    CComboBox folderList;
    CString baseFolder;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
};

// True for a name that a folder listing may offer as a set: any folder name but "." and "..",
// as long as it fits the start string and the code page can spell it. A listed name holds no
// separator, so it names one folder under the base folder.
bool isUsableSetName(const char* name);
