#pragma once

#include "CString.h"
#include "Dialog.h"
#include "quibbix/resource.h"

// Lets the player pick a custom level folder under the base folder, or the built-in set.
class CCustomLevelsDlg : public CDialog {
public:
    CCustomLevelsDlg() : CDialog(IDD_CUSTOM_LEVELS) {}

    CString selectedFolder;
    CString baseFolder;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    CComboBox folderList_;
};

// True for a folder name that a listing may offer as a set: one that fits the start string. A
// listed name is the folder's own narrow spelling, so it holds no separator and names one folder
// under the base folder.
bool isUsableSetName(const char* name);
