#pragma once

#include "Dialog.h"
#include "Handles.h"
#include "orvane/resource.h"

class CGameStartDlg : public CDialog {
public:
    CGameStartDlg();

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;

private:
    void OnFreeplay();

    CButton freeplayButton_;
    GdiObject freeplayImage_;  // deleted after the window, which shows it, is gone
};
