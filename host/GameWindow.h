// The host's main window with its game stand-in, and the order in which the host calls a
// plug-in: start dialog, rounds, hall of fame, and back.
#pragma once

#include <windows.h>

#include "Journal.h"
#include "Plugin.h"

extern const char kMainWindowClass[];

// Controls of the stand-in, for whoever drives it.
enum GameControl {
    kStartStringText = 200,
    kScoreEdit,
    kLevelEdit,
    kFinishButton,
    kPlayButton,
    kQuitButton,
    kStatusText,
};

class GameWindow {
public:
    explicit GameWindow(Journal& journal) : journal_(journal) {}
    ~GameWindow();
    GameWindow(const GameWindow&) = delete;
    GameWindow& operator=(const GameWindow&) = delete;

    bool create();
    HWND handle() const { return window_; }

    // Plays until the start dialog gives no game; false when the player closed the window.
    bool play(const Plugin& game);

private:
    enum class RoundEnd { kNone, kFinished, kQuit, kClosed };

    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void onCommand(int id);
    void addControls();
    void layout(int width, int height);
    void paintField(HDC dc);

    RoundEnd playRound(const char* startString, int round, int& score, int& level);
    void pump();
    void showWaiting(const char* status);
    void enableRound(bool enabled);
    void finishTyped();
    void playSimulated();
    void tick();
    void askToQuit();
    int nextRandom(int below);

    // Labels, start string, score, level, the three buttons and the status line, in that order.
    static const int kControlCount = 10;

    Journal& journal_;
    HWND window_ = nullptr;
    HWND controls_[kControlCount] = {};
    HACCEL accelerators_ = nullptr;
    HFONT fieldFont_ = nullptr;
    RECT field_ = {};
    const Plugin* game_ = nullptr;
    unsigned seed_ = 1;

    bool inRound_ = false;
    bool closeRequested_ = false;
    RoundEnd roundEnd_ = RoundEnd::kNone;
    int score_ = 0;
    int level_ = 0;
    int ticksLeft_ = 0;  // of a simulated round; 0 when none runs
};

// Plays each game in turn in one main window, until the last one's start dialog gives no
// game or the window is closed; the exit code.
int playGames(const char* const* games, int count, Journal& journal);
