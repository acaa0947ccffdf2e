#pragma once

#include "CString.h"
#include "Dialog.h"
#include "Handles.h"
#include "resource.h"

// The host passes no size with its buffer; no start string is longer than this, terminator included.
constexpr int kStartStringSize = 260;
// The longest set name that fits in "user*%s*%i" with the longest speed, "-1".
constexpr int kMaxSetName = kStartStringSize - static_cast<int>(sizeof "user**-1");

class CGameStartDlg : public CDialog {
public:
    CGameStartDlg() : CDialog(IDD_GAME_START) {}

    int speed = 0;
    CString customFolder;
    CButton randomButton;
    CButton userButton;

protected:
    const MessageMapEntry* GetMessageMap() const override;
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;

private:
    static const MessageMapEntry messageMap[];
    void OnRandom();
    void OnUser();
    void OnSlow();
    void OnNormal();
    void OnFast();

    // Deleted after the window, which shows them, is gone.
    GdiObject randomImage_;
    GdiObject userImage_;
};
