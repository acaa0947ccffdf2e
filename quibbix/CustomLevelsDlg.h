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

// True for a name the host may take as one folder under the base folder and that fits the
// start string.
bool isUsableSetName(const char* name);
