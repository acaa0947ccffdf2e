#include "DialogDriver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace driver {
namespace {
BOOL CALLBACK collectOfProcess(HWND window, LPARAM list) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == GetCurrentProcessId()) reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

std::atomic<const std::atomic<bool>*> entryReturned{nullptr};

bool stopWaiting() {
    const std::atomic<bool>* flag = entryReturned.load();
    return flag && flag->load();
}

LRESULT send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(window, message, wParam, lParam, SMTO_BLOCK, 5000, &result);
    return static_cast<LRESULT>(result);
}
}  // namespace

std::vector<HWND> windowsOfProcess() {
    std::vector<HWND> found;
    EnumWindows(collectOfProcess, reinterpret_cast<LPARAM>(&found));
    return found;
}

bool isDialog(HWND window) {
    char className[16] = {};
    GetClassNameA(window, className, sizeof className);
    return strcmp(className, "#32770") == 0;
}

HWND find(const char* caption, DWORD thread) {
    for (HWND window : windowsOfProcess())
        if (text(window) == caption && (!thread || GetWindowThreadProcessId(window, nullptr) == thread)) return window;
    return nullptr;
}

HWND waitFor(const char* caption, int timeoutMs) { return waitFor(caption, nullptr, timeoutMs); }

HWND waitOn(DWORD thread, const char* caption) { return waitFor(caption, nullptr, 8000, thread); }

HWND waitFor(const char* caption, const char* instead, int timeoutMs, DWORD thread) {
    for (DWORD start = GetTickCount(); GetTickCount() - start < static_cast<DWORD>(timeoutMs); Sleep(10)) {
        HWND window = find(caption, thread);
        if (window && IsWindowVisible(window)) return window;
        HWND other = instead ? find(instead) : nullptr;
        if (other && IsWindowVisible(other)) {
            ADD_FAILURE() << "\"" << instead << "\" showed where \"" << caption << "\" should have";
            return nullptr;
        }
        if (stopWaiting()) break;
    }
    ADD_FAILURE() << "no visible window \"" << caption << "\"";
    return nullptr;
}

bool waitGone(HWND window, int timeoutMs) {
    for (DWORD start = GetTickCount(); GetTickCount() - start < static_cast<DWORD>(timeoutMs); Sleep(10))
        if (!IsWindow(window)) return true;
    return false;
}

HWND item(HWND dialog, int id) { return GetDlgItem(dialog, id); }

std::string text(HWND window) {
    char buffer[1024] = {};
    send(window, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer));
    return buffer;
}

std::string text(HWND dialog, int id) { return text(item(dialog, id)); }

LONG style(HWND window) { return GetWindowLongA(window, GWL_STYLE); }

bool visible(HWND window) { return IsWindowVisible(window) != 0; }

HWND focus(HWND dialog) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info);
    return info.hwndFocus;
}

RECT rect(HWND window) {
    RECT r = {};
    GetWindowRect(window, &r);
    return r;
}

int fontWeight(HWND window) {
    auto font = reinterpret_cast<HFONT>(send(window, WM_GETFONT));
    LOGFONTA description = {};
    if (!font || !GetObjectA(font, sizeof description, &description)) return FW_NORMAL;
    return description.lfWeight;
}

HANDLE image(HWND window) {
    char className[32] = {};
    GetClassNameA(window, className, sizeof className);
    if (lstrcmpiA(className, "Static") == 0) return reinterpret_cast<HANDLE>(send(window, STM_GETIMAGE, IMAGE_BITMAP));
    return reinterpret_cast<HANDLE>(send(window, BM_GETIMAGE, IMAGE_BITMAP));
}

bool checked(HWND dialog, int id) { return send(item(dialog, id), BM_GETCHECK) == BST_CHECKED; }

std::vector<std::string> items(HWND combo) {
    std::vector<std::string> texts(static_cast<size_t>(std::max<LRESULT>(send(combo, CB_GETCOUNT), 0)));
    for (size_t i = 0; i < texts.size(); ++i) {
        const LRESULT length = send(combo, CB_GETLBTEXTLEN, i);
        if (length <= 0) continue;
        std::vector<char> text(static_cast<size_t>(length) + 1);
        send(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()));
        texts[i] = text.data();
    }
    return texts;
}

bool select(HWND combo, const char* text) {
    const LRESULT index = send(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text));
    return index >= 0 && send(combo, CB_SETCURSEL, index) == index;
}

bool press(HWND dialog, int id) {
    HWND button = item(dialog, id);
    if (button) PostMessageA(button, BM_CLICK, 0, 0);
    return button != nullptr;
}

void click(HWND dialog, int id) { EXPECT_TRUE(press(dialog, id)) << "no control " << id; }

void cancel(HWND dialog) {
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    PostMessageA(dialog, WM_COMMAND, IDNO, 0);
}

void type(HWND window, const char* text) {
    for (const char* c = text; *c; ++c) PostMessageA(window, WM_CHAR, static_cast<unsigned char>(*c), 1);
}

void pressKey(HWND dialog, UINT key) {
    HWND target = focus(dialog);
    if (!target) target = dialog;
    PostMessageA(target, WM_KEYDOWN, key, 1);
    PostMessageA(target, WM_KEYUP, key, 0xC0000001);
}

void pressEnter(HWND dialog) { pressKey(dialog, VK_RETURN); }

void pressEscape(HWND dialog) { pressKey(dialog, VK_ESCAPE); }

void closeBox(HWND dialog) { PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); }

}  // namespace driver

ScriptedRun::ScriptedRun(std::function<void()> script) {
    driver::entryReturned = &returned_;
    thread_ = std::thread([this, script] {
        script();
        // Whatever the script left open is cancelled, message boxes answered No.
        for (DWORD start = GetTickCount(); !returned_ && GetTickCount() - start < 20000; Sleep(50))
            for (HWND window : driver::windowsOfProcess())
                if (driver::isDialog(window) && IsWindowVisible(window)) driver::cancel(window);
    });
}

void ScriptedRun::finish() {
    returned_ = true;
    if (thread_.joinable()) thread_.join();
    driver::entryReturned = nullptr;
}
