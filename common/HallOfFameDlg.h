// What both games' hall-of-fame dialogs do as they open: show the player's score in bold,
// ask for a name when the score makes the table, and record the result.
#pragma once

#include "CString.h"
#include "Dialog.h"
#include "Handles.h"

class CHallOfFameDlg : public CDialog {
public:
    int level = 0;
    int score = 0;
    CString mode;

protected:
    // game is the value-name prefix; nameEntryTitle the caption of the name-entry dialog.
    CHallOfFameDlg(UINT templateId, const char* game, const char* nameEntryTitle)
        : CDialog(templateId), game_(game), nameEntryTitle_(nameEntryTitle) {}

    BOOL OnInitDialog() override;
    // Fills the table controls from the store, after the result was recorded.
    virtual void ShowTables() = 0;

    const char* game() const { return game_; }

private:
    const char* game_;
    const char* nameEntryTitle_;
    GdiObject boldFont_;  // outlives the control that uses it
};
