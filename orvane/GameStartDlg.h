#pragma once

#include "Dialog.h"
#include "Handles.h"
#include "orvane/resource.h"

class CGameStartDlg : public CDialog {
public:
    CGameStartDlg() : CDialog(IDD_GAME_START) {}

protected:
    const MessageMapEntry* GetMessageMap() const override;
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;

private:
    static const MessageMapEntry messageMap[];
    void OnFreeplay();

    CButton freeplayButton_;
    GdiObject freeplayImage_;  // deleted after the window, which shows it, is gone
};
