// Asks a player whose score made the hall of fame for a name.
#pragma once

#include "CString.h"
#include "Dialog.h"

class CNameEntryDlg : public CDialog {
public:
    CNameEntryDlg();

    CString title;
    CString scoreText;
    CString playerName;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;

private:
    void OnNameChange();
};
