#pragma once

#include "HallOfFameDlg.h"
#include "resource.h"

// Records a finished game in its mode's hall of fame and shows both of the game's tables.
class CGameScoreDlg : public CHallOfFameDlg {
public:
    CGameScoreDlg() : CHallOfFameDlg(IDD_GAME_SCORE, "Quibbix", "Quibbix Hall Of Fame") {}

protected:
    const MessageMapEntry* GetMessageMap() const override;
    void ShowTables() override;

private:
    static const MessageMapEntry messageMap[];
    void OnReplay();
};
