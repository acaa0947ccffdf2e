// The hall of fame every game shows when a game is over: the player's score in bold, a name asked
// for when the score makes the table, the result recorded, then the game's tables.
#pragma once

#include "CString.h"
#include "Dialog.h"
#include "Game.h"

class CGameScoreDlg : public CDialog {
public:
    explicit CGameScoreDlg(const Game& game)
        : CDialog(game.hallOfFame.templateId),
          game_(game),
          replay_{onClicked(game.hallOfFame.other, &CGameScoreDlg::OnReplay)} {
        SetCommands(replay_);
    }

    int level = 0;
    int score = 0;
    CString mode;

protected:
    BOOL OnInitDialog() override;

private:
    void OnReplay() { EndDialog(game_.hallOfFame.other); }
    // The table as stored now: name, level and score of each rank, row by row.
    void showTable(const char* tableMode, int firstCell);

    const Game& game_;
    const MessageMapEntry replay_[1];  // the game's Replay button, a row as long-lived as the dialog
};
