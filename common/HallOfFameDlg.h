// The hall of fame both games show when a game is over: the player's score in bold, a name
// asked for when the score makes the table, the result recorded, then the game's tables.
#pragma once

#include "CString.h"
#include "Dialog.h"
#include "Handles.h"

// What tells one game's hall of fame from the other's.
struct HallOfFame {
    UINT templateId;
    UINT replayId;               // the button that ends the dialog asking for another game
    const char* game;            // the value-name prefix
    const char* nameEntryTitle;  // the caption of the name-entry dialog
    // The tables shown: a mode (null: the mode played) and the first of its nine controls.
    struct Table {
        const char* mode;
        int firstControl;
    } tables[2];
};

class CHallOfFameDlg : public CDialog {
public:
    explicit CHallOfFameDlg(const HallOfFame& hall);

    int level = 0;
    int score = 0;
    CString mode;

protected:
    const MessageMapEntry* GetMessageMap() const override { return messageMap_; }
    BOOL OnInitDialog() override;

private:
    void OnReplay();

    const HallOfFame& hall_;
    // Its own, as the replay button's id is the game's.
    MessageMapEntry messageMap_[2];
    GdiObject boldFont_;  // outlives the control that uses it
};
