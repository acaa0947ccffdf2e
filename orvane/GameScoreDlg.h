#pragma once

#include "HallOfFameDlg.h"
#include "resource.h"

// Records a finished game and shows Orvane's hall of fame.
class CGameScoreDlg : public CHallOfFameDlg {
public:
    CGameScoreDlg() : CHallOfFameDlg(IDD_GAME_SCORE, "Orvane", "Orvane Hall Of Fame") {}

protected:
    const MessageMapEntry* GetMessageMap() const override;
    void ShowTables() override;

private:
    static const MessageMapEntry messageMap[];
    void OnReplay();
};
