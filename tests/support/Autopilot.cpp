#include "Autopilot.h"

#include <atomic>
#include <cstring>
#include <map>

#include "DialogDriver.h"

namespace {
enum class Kind { Plain, QuibbixStart, CustomLevels, NameEntry };

// Each is answered with the button, after the folder is picked or the name typed. The name entry
// and the hall of fame differ in the case of one letter.
const struct {
    const char* caption;
    Kind kind;
    int button;
} kKnown[] = {
    {"Orvane Info", Kind::Plain, IDOK},
    {"Orvane Start Game Dialog", Kind::Plain, 102},
    {"Quibbix Start Game Dialog", Kind::QuibbixStart, 104},  // User; Random (102) without custom levels
    {"Quibbix Custom Levels Selection", Kind::CustomLevels, IDOK},
    {"Orvane Hall Of Fame", Kind::NameEntry, IDOK},
    {"Quibbix Hall Of Fame", Kind::NameEntry, IDOK},
    {"Orvane Hall of Fame", Kind::Plain, IDCANCEL},
    {"Quibbix Hall of Fame", Kind::Plain, IDCANCEL},
};

const DWORD kPatienceMs = 1000;
const int kMessageBoxText = 0xFFFF;

bool isDialog(HWND window) {
    char className[16] = {};
    GetClassNameA(window, className, sizeof className);
    return strcmp(className, "#32770") == 0;
}

// Posted, so the helper never waits on the loop it drives.
bool press(HWND dialog, int id) {
    HWND button = GetDlgItem(dialog, id);
    if (button) PostMessageA(button, BM_CLICK, 0, 0);
    return button != nullptr;
}

void cancel(HWND dialog) {
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    PostMessageA(dialog, WM_COMMAND, IDNO, 0);
}

void answer(const Autopilot& pilot, HWND dialog, const std::string& caption, Autopilot::Run& run) {
    run.dialogs.push_back(caption);
    for (const auto& known : kKnown) {
        if (caption != known.caption) continue;
        if (known.kind == Kind::CustomLevels) {
            DWORD_PTR ignored = 0;
            SendMessageTimeoutA(GetDlgItem(dialog, 1000), CB_SELECTSTRING, static_cast<WPARAM>(-1),
                                reinterpret_cast<LPARAM>(pilot.folder.c_str()), SMTO_BLOCK, 5000, &ignored);
        }
        if (known.kind == Kind::NameEntry) driver::type(GetDlgItem(dialog, 124), pilot.name.c_str());
        press(dialog, known.kind == Kind::QuibbixStart && !pilot.customLevels ? 102 : known.button);
        return;
    }
    run.boxes.push_back({caption, driver::text(GetDlgItem(dialog, kMessageBoxText))});
    if (!press(dialog, IDYES) && !press(dialog, IDOK)) cancel(dialog);
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
            if (!IsWindowVisible(window) || !isDialog(window)) continue;
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
                cancel(window);
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
    for (HWND window : driver::windowsOfProcess()) left += isDialog(window);
    return left;
}
