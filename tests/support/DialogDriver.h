// Drives the modal dialogs an entry point opens, from a helper thread.
//
// The test thread calls the entry point and so runs the modal loops; the script runs on a
// helper thread that finds the dialogs of this process by caption, reads their controls and
// acts on them only by posting, so it never waits on the loop it drives.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>

#include <vector>

namespace driver {

// Top-level windows of this process, in enumeration order.
std::vector<HWND> windowsOfProcess();
// A window of the dialog class: a dialog, or a message box.
bool isDialog(HWND window);

// A top-level window of this process with this caption, of that thread unless 0, visible or not; null if none.
HWND find(const char* caption, DWORD thread = 0);
// Waits for the window to be visible (the modal loop is then running); fails the test on timeout.
HWND waitFor(const char* caption, int timeoutMs = 8000);
HWND waitOn(DWORD thread, const char* caption);
// The same, but fails at once when a visible window captioned instead shows in its place.
HWND waitFor(const char* caption, const char* instead, int timeoutMs = 8000, DWORD thread = 0);
bool waitGone(HWND window, int timeoutMs = 8000);

HWND item(HWND dialog, int id);
std::string text(HWND window);
std::string text(HWND dialog, int id);
LONG style(HWND window);
bool visible(HWND window);
// The window with the keyboard focus in the dialog's thread.
HWND focus(HWND dialog);
RECT rect(HWND window);
// Weight of the control's font (400 when the control uses the system font).
int fontWeight(HWND window);
// The bitmap a button or picture control shows.
HANDLE image(HWND window);
bool checked(HWND dialog, int id);
// The texts of a combo box's list, in list order.
std::vector<std::string> items(HWND combo);
// Selects the item that reads exactly text; false when the list has none.
bool select(HWND combo, const char* text);

// Posted, so that whoever presses never waits on the loop it drives: a click on the button,
// false when the dialog has none with this id.
bool press(HWND dialog, int id);
// The same, failing the test when there is no such button.
void click(HWND dialog, int id);
// Ends a dialog as Escape would, or answers a message box No.
void cancel(HWND dialog);
void type(HWND window, const char* text);
void pressKey(HWND dialog, UINT key);  // to the focused control, as the keyboard would
void pressEnter(HWND dialog);
void pressEscape(HWND dialog);
void closeBox(HWND dialog);

}  // namespace driver

// Runs a script on a helper thread for as long as the test thread is inside an entry point.
// If the script ends or fails while dialogs are still open, they are cancelled, so a test
// never hangs.
class ScriptedRun {
public:
    explicit ScriptedRun(std::function<void()> script);
    ~ScriptedRun() { finish(); }
    // Call when the entry point has returned; waits for the script.
    void finish();

private:
    std::atomic<bool> returned_{false};
    std::thread thread_;
};
