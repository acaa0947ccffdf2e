// The floor of an entry point: the platform calls it made, taken down by a view on its call ledger,
// made again straight to the platform, each where the plug-in made it, with the floor's own
// handles, and the templates shown by DialogBoxParamA around a procedure that does nothing else.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "CallLedger.h"

class Floor;

// Where a call was made: outside every dialog (frame 0), or in one dialog's WM_INITDIALOG or
// WM_COMMAND with one control id. Frames are numbered in the order the dialogs were opened.
struct Phase {
    int frame;
    UINT message;
    WORD id;
};

// Beside the ledger's calls, work seen by the message it sends: the dialog centred, a list filled.
constexpr Api kCentre = Api::Count, kListEntry = static_cast<Api>(static_cast<int>(Api::Count) + 1);

struct Step {
    Api kind;  // a call, or one of the two above
    int phase;
    LONG_PTR outcome;  // as the plug-in had it: a status, count, index or position, or a handle made

    std::function<LONG_PTR(Floor&)> make;  // the same call made by the floor, and its outcome
    std::string name() const;
};

struct Script {
    std::vector<Step> steps;
    std::vector<Phase> phases = {{0, 0, 0}};
    std::vector<HFONT> fonts = {nullptr};  // each frame's, as the plug-in's dialog had it
    std::vector<std::string> problems;     // calls the floor cannot make as they were made

    int phaseOf(int frame, UINT message, WORD id) const;  // -1: none
    // The dialogs alone, nested as they were; or the innermost alone, owned by no window.
    Script bare(bool innermost = false) const;
};

// The calls that one entry-point call, made by call, makes through the module's imports.
Script record(HMODULE module, const std::function<void()>& call);

class Floor {
public:
    explicit Floor(const Script& script);
    Floor(const Floor&) = delete;
    Floor& operator=(const Floor&) = delete;

    // Plays the calls made outside the dialogs, the first dialog among them.
    void run();
    // Where this run's calls did not end as the plug-in's did, once each.
    const std::vector<std::string>& differences() const { return differences_; }

    // For the call being made: the floor's own handle for one the plug-in had, or the handle
    // itself when the plug-in got it from no call (a predefined key, its module).
    template <typename Handle>
    Handle mapped(Handle recorded) const {
        const auto found = handles_.find(recorded);
        return found == handles_.end() ? recorded : static_cast<Handle>(found->second);
    }
    bool known(const void* recorded) const { return handles_.count(recorded) != 0; }
    // The floor's handle for one the plug-in got; whether there is one.
    LONG_PTR made(const void* recorded, HANDLE handle) {
        if (recorded) handles_[recorded] = handle;
        return handle && handle != INVALID_HANDLE_VALUE;
    }
    HWND window(int frame) const { return windows_[frame]; }
    BYTE* buffer() { return buffer_.data(); }
    INT_PTR openDialog(HINSTANCE instance, LPCSTR name, HWND owner, int frame);

private:
    static INT_PTR CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void play(int phase);

    const Script& script_;
    std::vector<std::vector<int>> byPhase_;
    std::map<const void*, HANDLE> handles_;
    std::vector<HWND> windows_;
    std::vector<BYTE> buffer_ = std::vector<BYTE>(65536);  // what every read call reads into
    int opening_ = 0;                                      // the frame whose dialog is being created
    std::vector<bool> reported_;
    std::vector<std::string> differences_;
};
