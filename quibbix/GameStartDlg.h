#pragma once

#include "CString.h"
#include "Dialog.h"
#include "Handles.h"
#include "quibbix/resource.h"

class CGameStartDlg : public CDialog {
public:
    CGameStartDlg();

    int speed = 0;
    CString customFolder;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;

private:
    void OnRandom();
    void OnUser();
    void OnSlow();
    void OnNormal();
    void OnFast();

    CButton randomButton_;
    CButton userButton_;
    // Deleted after the window, which shows them, is gone.
    GdiObject randomImage_;
    GdiObject userImage_;
};
