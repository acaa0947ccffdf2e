#pragma once

#include "HallOfFameDlg.h"

// A game's own hall of fame: its tables and its Replay button, which each plug-in defines.
class CGameScoreDlg : public CHallOfFameDlg {
public:
    CGameScoreDlg();
};
