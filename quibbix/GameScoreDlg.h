#pragma once

#include "CString.h"
#include "Dialog.h"
#include "Handles.h"
#include "resource.h"

// Records a finished game in its mode's hall of fame and shows both of the game's tables.
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

    GdiObject boldFont_;  // outlives the control that uses it
};
