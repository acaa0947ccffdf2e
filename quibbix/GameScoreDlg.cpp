#include "GameScoreDlg.h"

#include "CurrentWorld.h"

namespace {
struct DisplayedValue {
    const char* name;
    DWORD capacity;
    int control;
};

// Both tables, whatever mode was played; the store matches the names without regard to case.
const DisplayedValue kDisplayed[] = {
    {"QuibbixRandomName1", 16, IDC_RANDOM_NAME1},   {"QuibbixRandomLevel1", 32, IDC_RANDOM_LEVEL1},
    {"QuibbixRandomScore1", 32, IDC_RANDOM_SCORE1}, {"QuibbixRandomName2", 16, IDC_RANDOM_NAME2},
    {"QuibbixRandomLevel2", 32, IDC_RANDOM_LEVEL2}, {"QuibbixRandomScore2", 32, IDC_RANDOM_SCORE2},
    {"QuibbixRandomName3", 16, IDC_RANDOM_NAME3},   {"QuibbixRandomLevel3", 32, IDC_RANDOM_LEVEL3},
    {"QuibbixRandomScore3", 32, IDC_RANDOM_SCORE3}, {"QuibbixUserName1", 16, IDC_USER_NAME1},
    {"QuibbixUserLevel1", 32, IDC_USER_LEVEL1},     {"QuibbixUserScore1", 32, IDC_USER_SCORE1},
    {"QuibbixUserName2", 16, IDC_USER_NAME2},       {"QuibbixUserLevel2", 32, IDC_USER_LEVEL2},
    {"QuibbixUserScore2", 32, IDC_USER_SCORE2},     {"QuibbixUserName3", 16, IDC_USER_NAME3},
    {"QuibbixUserLevel3", 32, IDC_USER_LEVEL3},     {"QuibbixUserScore3", 32, IDC_USER_SCORE3},
};
}  // namespace

const MessageMapEntry CGameScoreDlg::messageMap[] = {
    onClicked(IDC_REPLAY, &CGameScoreDlg::OnReplay),
    {},
};

const MessageMapEntry* CGameScoreDlg::GetMessageMap() const { return messageMap; }

// Both tables, whatever mode was played, read afresh from the store.
void CGameScoreDlg::ShowTables() {
    for (const DisplayedValue& value : kDisplayed) {
        char text[32];
        readWorldValue(value.name, text, value.capacity);
        SetDlgItemTextA(m_hWnd, value.control, text);
    }
}

void CGameScoreDlg::OnReplay() { EndDialog(IDC_REPLAY); }
