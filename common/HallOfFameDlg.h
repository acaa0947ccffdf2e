// The hall of fame both games show when a game is over: the player's score in bold, a name
// asked for when the score makes the table, the result recorded, then the game's tables.
#pragma once

#include "CString.h"
#include "Dialog.h"

// What tells one game's hall of fame from the other's.
struct HallOfFame {
    UINT templateId;
    UINT replayId;               // the button that ends the dialog asking for another game
    const char* game;            // the value-name prefix
    const char* nameEntryTitle;  // the caption of the name-entry dialog
    // The tables shown: a mode (null: the mode played) and the first of its nine cells.
    struct Table {
        const char* mode;
        int firstCell;
    } tables[2];
};

class CHallOfFameDlg : public CDialog {
public:
    int level = 0;
    int score = 0;
    CString mode;

protected:
    explicit CHallOfFameDlg(const HallOfFame& hall)
        : CDialog(hall.templateId), hall_(hall), commands_{onClicked(hall.replayId, &CHallOfFameDlg::OnReplay)} {
        SetCommands(commands_);
    }
    BOOL OnInitDialog() override;

private:
    void OnReplay() { EndDialog(hall_.replayId); }
    // The table as stored now: name, level and score of each rank, row by row.
    void showTable(const char* tableMode, int firstCell);

    const HallOfFame& hall_;
    const MessageMapEntry commands_[1];
};
