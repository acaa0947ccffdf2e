#include "Autopilot.h"

#include <atomic>
#include <map>

#include "DialogDriver.h"
#include "Games.h"

namespace {
const DWORD kPatienceMs = 1000;
const int kMessageBoxText = 0xFFFF;

// Each game dialog gets its button, after the folder is picked or the name typed; a message box
// Yes, else OK, else No.
void answer(const Autopilot& pilot, HWND dialog, const std::string& caption, Autopilot::Run& run) {
    run.dialogs.push_back(caption);
    for (const Game* game : kGames) {
        for (const GameDialog* known :
             {&game->start, &game->hallOfFame, &game->nameEntry, &game->notice, &game->customLevels}) {
            if (!known->caption || caption != known->caption) continue;
            if (known == &game->customLevels) {
                DWORD_PTR ignored = 0;
                SendMessageTimeoutA(GetDlgItem(dialog, known->other), CB_SELECTSTRING, static_cast<WPARAM>(-1),
                                    reinterpret_cast<LPARAM>(pilot.folder.c_str()), SMTO_BLOCK, 5000, &ignored);
            }
            if (known == &game->nameEntry) driver::type(GetDlgItem(dialog, known->other), pilot.name.c_str());
            // A start whose button leads to custom levels has another that plays at once.
            const bool atOnce = known == &game->start && game->customLevels.caption && !pilot.customLevels;
            driver::press(dialog, atOnce ? known->other : known->button);
            return;
        }
    }
    run.boxes.push_back({caption, driver::text(GetDlgItem(dialog, kMessageBoxText))});
    if (!driver::press(dialog, IDYES) && !driver::press(dialog, IDOK)) driver::cancel(dialog);
}

struct Answered {
    std::string caption;
    DWORD at = 0;
    bool done = false;
};

void answerUntil(const Autopilot& pilot, const std::atomic<bool>& returned, Autopilot::Run& run) {
    std::map<HWND, Answered> answered;
    for (DWORD start = GetTickCount(); !returned && GetTickCount() - start < pilot.deadlineMs; Sleep(2)) {
        for (HWND window : driver::windowsOfProcess()) {
            if (!IsWindowVisible(window) || !driver::isDialog(window)) continue;
            // Read without a message: a window on its way out answers none, and would seem a new one.
            WCHAR wide[256] = {};
            char caption8[256] = {};
            InternalGetWindowText(window, wide, 256);
            WideCharToMultiByte(CP_ACP, 0, wide, -1, caption8, sizeof caption8, nullptr, nullptr);
            const std::string caption = caption8;
            if (caption.empty()) continue;
            Answered& a = answered[window];
            if (a.done && a.caption != caption) a = Answered();  // a new window under an old handle
            if (!a.done) {
                answer(pilot, window, caption, run);
                a = {caption, GetTickCount(), true};
            } else if (IsWindowEnabled(window) && GetTickCount() - a.at > kPatienceMs) {
                run.dialogs.push_back(caption + " (cancelled)");
                driver::cancel(window);
                a.at = GetTickCount();
            }
        }
    }
}
}  // namespace

Autopilot::Run Autopilot::fly(const std::function<int()>& entry) const {
    Run run;
    std::atomic<bool> returned{false};
    ScriptedRun helper([this, &returned, &run] { answerUntil(*this, returned, run); });
    const DWORD start = GetTickCount();
    run.result = entry();
    run.hung = GetTickCount() - start >= deadlineMs;
    returned = true;
    helper.finish();
    return run;
}

int dialogWindowsLeft() {
    int left = 0;
    for (HWND window : driver::windowsOfProcess()) left += driver::isDialog(window);
    return left;
}
