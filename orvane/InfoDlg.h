#pragma once

#include "Dialog.h"
#include "orvane/resource.h"

// The one-time notice that the game loads and exits slowly on older processors.
class CInfoDlg : public CDialog {
public:
    CInfoDlg();

    int noShowAgain = 0;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;

private:
    void OnNoShowAgain();
};

// Shows the notice unless the current world's flag says not to.
void showInfoDlgIfNeeded();
