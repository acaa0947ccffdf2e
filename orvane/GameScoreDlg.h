#pragma once

#include "CString.h"
#include "Dialog.h"
#include "Handles.h"
#include "resource.h"

class CGameScoreDlg : public CDialog {
public:
    CGameScoreDlg() : CDialog(IDD_GAME_SCORE) {}

    int level = 0;
    int score = 0;
    CString mode;

protected:
    const MessageMapEntry* GetMessageMap() const override;
    BOOL OnInitDialog() override;

private:
    static const MessageMapEntry messageMap[];
    void OnReplay();

    GdiObject boldFont_;  // outlives the window that uses it
};
