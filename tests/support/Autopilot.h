// Runs an entry point while a helper thread answers whatever dialogs and message boxes of
// either plug-in come up, in whatever order, and never waits for one that does not come.
//
// The answers are those of a player going the whole way: the notice is confirmed, Orvane's
// Freeplay or Quibbix's User (or Random) is pressed, the custom level folder is picked, the name
// typed, the hall of fame closed, the quit question answered Yes and any other box confirmed. A dialog
// still up some time after it was answered (its answer went nowhere) is cancelled.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

struct Autopilot {
    std::string name = "ACE";      // typed into the name entry
    std::string folder = "alpha";  // picked in the custom level list, if it is there
    bool customLevels = true;      // Quibbix's User button, else Random
    DWORD deadlineMs = 10000;      // then the dialogs are cancelled and the run counts as hung

    struct Seen {
        std::string caption, text;
    };
    struct Run {
        int result = 0;
        bool hung = false;
        std::vector<Seen> boxes;           // message boxes as shown on screen
        std::vector<std::string> dialogs;  // captions answered, in order
    };

    // Calls the entry point on this thread and returns what it gave.
    Run fly(const std::function<int()>& entry) const;
};

// Dialog windows (of the dialog class) of this process that still exist.
int dialogWindowsLeft();
