// The floor of an entry point: its recorded platform calls made again straight to the platform,
// in the same order, each where the plug-in made it (before the dialogs, or in one dialog's
// WM_INITDIALOG or WM_COMMAND), with the plug-in's templates shown by DialogBoxParamA around a
// procedure that does nothing else; the entries the plug-in put into its lists are put there
// again. IDOK and IDCANCEL end a dialog.
#pragma once

#include <string>
#include <vector>

#include "Recorder.h"

class Floor {
public:
    explicit Floor(const Script& script);
    Floor(const Floor&) = delete;
    Floor& operator=(const Floor&) = delete;

    // Plays the calls made outside the dialogs, the first dialog among them.
    void run();
    // Where this run's calls did not end as the plug-in's did, once each.
    const std::vector<std::string>& differences() const { return differences_; }

private:
    static INT_PTR CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void play(int phase);
    void make(int index);
    int phaseOf(int frame, UINT message, WORD id) const;
    void differs(int index, const char* what);

    const Script& script_;
    std::vector<std::vector<int>> byPhase_;
    std::vector<HANDLE> handles_;
    std::vector<HWND> windows_;
    std::vector<HFONT> fonts_;
    std::vector<BYTE> buffer_;
    int opening_ = 0;  // the frame whose dialog is being created
    std::vector<bool> reported_;
    std::vector<std::string> differences_;
};
