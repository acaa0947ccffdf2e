// Before any C++ header, which would swap msvcrt's printf family for the compiler runtime's.
#include <stdio.h>

#include "GameWindow.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <string>

const char kMainWindowClass[] = "ZorvHostWindow";

namespace {
const UINT_PTR kSimulationTimer = 1;
const UINT kTickMs = 80;
const int kTicksPerRound = 25;
const int kMargin = 16;
const int kRow = 24;

HWND item(HWND window, int id) { return GetDlgItem(window, id); }

void setText(HWND window, int id, const char* text) { SetWindowTextA(item(window, id), text); }

void setNumber(HWND window, int id, int value) {
    char text[16];
    snprintf(text, sizeof text, "%i", value);
    setText(window, id, text);
}

// A whole number as typed, with nothing around it.
bool readNumber(HWND window, int id, int& value) {
    char text[64] = {};
    GetWindowTextA(item(window, id), text, sizeof text);
    char* end = nullptr;
    errno = 0;
    const long number = strtol(text, &end, 10);
    if (end == text || *end || errno == ERANGE || number < INT_MIN || number > INT_MAX) return false;
    value = static_cast<int>(number);
    return true;
}
}  // namespace

GameWindow::~GameWindow() {
    if (window_) DestroyWindow(window_);
    if (accelerators_) DestroyAcceleratorTable(accelerators_);
    if (fieldFont_) DeleteObject(fieldFont_);
}

bool GameWindow::create() {
    seed_ = GetTickCount();
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    windowClass.hIcon = LoadIconA(nullptr, MAKEINTRESOURCEA(32512));      // IDI_APPLICATION
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kMainWindowClass;
    RegisterClassA(&windowClass);

    window_ = CreateWindowExA(WS_EX_CONTROLPARENT, kMainWindowClass, "Zorv", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                              CW_USEDEFAULT, CW_USEDEFAULT, 660, 440, nullptr, nullptr, instance, this);
    if (!window_) return false;

    ACCEL quit = {FCONTROL | FVIRTKEY, 'S', kQuitButton};
    accelerators_ = CreateAcceleratorTableA(&quit, 1);
    fieldFont_ = CreateFontA(-28, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0, DEFAULT_QUALITY, 0, "Arial");
    ShowWindow(window_, SW_SHOWNORMAL);
    UpdateWindow(window_);
    return true;
}

LRESULT CALLBACK GameWindow::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<GameWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<GameWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (message == WM_NCDESTROY) SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    return self ? self->onMessage(message, wParam, lParam) : DefWindowProcA(window, message, wParam, lParam);
}

LRESULT GameWindow::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            addControls();
            return 0;
        case WM_SIZE:
            layout(LOWORD(lParam), HIWORD(lParam));
            return 0;
        case WM_GETMINMAXINFO:
            reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = {520, 320};
            return 0;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(window_, &paint);
            paintField(dc);
            EndPaint(window_, &paint);
            return 0;
        }
        case WM_COMMAND:
            if (HIWORD(wParam) == BN_CLICKED || HIWORD(wParam) == 1) onCommand(LOWORD(wParam));
            return 0;
        case DM_GETDEFID:  // Enter finishes the round
            return MAKELRESULT(kFinishButton, DC_HASDEFID);
        case WM_TIMER:
            if (wParam == kSimulationTimer) tick();
            return 0;
        case WM_CLOSE:
            // Never destroyed under a plug-in's dialog: the host leaves once the call is back.
            closeRequested_ = true;
            if (inRound_) roundEnd_ = RoundEnd::kClosed;
            return 0;
    }
    return DefWindowProcA(window_, message, wParam, lParam);
}

void GameWindow::addControls() {
    struct Control {
        const char* className;
        const char* text;
        int id;
        DWORD style;
        DWORD exStyle;
    };
    const Control controls[] = {
        {"STATIC", "Start string:", -1, 0, 0},
        {"STATIC", "", kStartStringText, SS_LEFTNOWORDWRAP | SS_CENTERIMAGE, WS_EX_STATICEDGE},
        {"STATIC", "Score:", -1, 0, 0},
        {"EDIT", "", kScoreEdit, WS_TABSTOP | WS_GROUP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE},
        {"STATIC", "Level:", -1, 0, 0},
        {"EDIT", "", kLevelEdit, WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE},
        {"BUTTON", "&Finish round", kFinishButton, WS_TABSTOP | BS_DEFPUSHBUTTON, 0},
        {"BUTTON", "&Play a round", kPlayButton, WS_TABSTOP | BS_PUSHBUTTON, 0},
        {"BUTTON", "&Quit... (Ctrl-S)", kQuitButton, WS_TABSTOP | BS_PUSHBUTTON, 0},
        {"STATIC", "", kStatusText, 0, 0},
    };
    static_assert(sizeof controls / sizeof controls[0] == kControlCount, "a place for every control");
    HGDIOBJ font = GetStockObject(DEFAULT_GUI_FONT);
    for (int i = 0; i < kControlCount; ++i) {
        const Control& c = controls[i];
        HWND control = controls_[i] =
            CreateWindowExA(c.exStyle, c.className, c.text, WS_CHILD | WS_VISIBLE | c.style, 0, 0, 10, 10, window_,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), GetModuleHandleA(nullptr), nullptr);
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    enableRound(false);
}

void GameWindow::layout(int width, int height) {
    const int inner = width - 2 * kMargin;
    const int y1 = kMargin, y2 = y1 + kRow + 10, y3 = y2 + kRow + 10, y4 = y3 + kRow + 12;
    const struct {
        int x, y, w, h;
    } at[kControlCount] = {
        {kMargin, y1 + 4, 80, 16},         {kMargin + 84, y1, inner - 84, kRow - 2}, {kMargin, y2 + 4, 40, 16},
        {kMargin + 44, y2, 100, kRow - 2}, {kMargin + 160, y2 + 4, 40, 16},          {kMargin + 204, y2, 60, kRow - 2},
        {kMargin, y3, 120, kRow + 2},      {kMargin + 130, y3, 120, kRow + 2},       {kMargin + 260, y3, 130, kRow + 2},
        {kMargin, y4, inner, 32},
    };
    for (int i = 0; i < kControlCount; ++i)
        if (controls_[i]) MoveWindow(controls_[i], at[i].x, at[i].y, at[i].w, at[i].h, TRUE);
    field_ = {kMargin, y4 + 40, width - kMargin, height - kMargin};
    InvalidateRect(window_, nullptr, TRUE);
}

void GameWindow::paintField(HDC dc) {
    if (field_.bottom <= field_.top) return;
    HBRUSH night = CreateSolidBrush(RGB(16, 20, 48));
    FillRect(dc, &field_, night);
    DeleteObject(night);

    std::string caption = game_ ? game_->title() : "Zorv";
    if (inRound_) {
        char line[64];
        snprintf(line, sizeof line, "\nscore %i  -  level %i", score_, level_);
        caption += ticksLeft_ ? line : "\n(the game runs here)";
    }
    HGDIOBJ oldFont = SelectObject(dc, fieldFont_);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(200, 220, 255));
    RECT text = field_;
    RECT measured = field_;
    DrawTextA(dc, caption.c_str(), -1, &measured, DT_CENTER | DT_WORDBREAK | DT_CALCRECT);
    text.top += (field_.bottom - field_.top - (measured.bottom - measured.top)) / 2;
    DrawTextA(dc, caption.c_str(), -1, &text, DT_CENTER | DT_WORDBREAK);
    SelectObject(dc, oldFont);
}

bool GameWindow::play(const Plugin& game) {
    game_ = &game;
    char title[128];
    snprintf(title, sizeof title, "%s - Zorv", game.title());
    SetWindowTextA(window_, title);
    InvalidateRect(window_, nullptr, TRUE);

    while (!closeRequested_) {
        char startString[kHostBufferSize] = {};
        char waiting[96];
        snprintf(waiting, sizeof waiting, "The %s start dialog is open.", game.title());
        showWaiting(waiting);
        const bool started = game.start(startString, 0);
        startString[kHostBufferSize - 1] = '\0';
        journal_.add({HostEvent::kStart, game.title(), started ? startString : "", started ? 1 : 0});
        if (!started) break;

        for (int round = 1; !closeRequested_; ++round) {
            int score = 0, level = 0;
            if (playRound(startString, round, score, level) != RoundEnd::kFinished) break;
            char scoreString[kHostBufferSize];
            buildScoreString(startString, score, level, scoreString);
            const std::string sent = scoreString;
            showWaiting("The hall of fame is open.");
            const int replay = game.score(scoreString, 0);
            journal_.add({HostEvent::kScore, game.title(), sent, replay});
            if (replay != 1) break;
        }
    }
    showWaiting("");
    game_ = nullptr;
    return !closeRequested_;
}

GameWindow::RoundEnd GameWindow::playRound(const char* startString, int round, int& score, int& level) {
    setText(window_, kStartStringText, startString);
    setText(window_, kScoreEdit, "");
    setText(window_, kLevelEdit, "");
    char status[200];
    snprintf(status, sizeof status,
             "Round %i. Type a score and a level and finish the round, or let the host play one. "
             "Ctrl-S asks whether to quit.",
             round);
    setText(window_, kStatusText, status);
    score_ = 0;
    level_ = 1;
    inRound_ = true;
    roundEnd_ = RoundEnd::kNone;
    enableRound(true);
    SetFocus(item(window_, kScoreEdit));
    InvalidateRect(window_, &field_, TRUE);
    journal_.add({HostEvent::kRound, game_->title(), startString, round});

    pump();

    if (ticksLeft_) KillTimer(window_, kSimulationTimer);
    ticksLeft_ = 0;
    inRound_ = false;
    enableRound(false);
    score = score_;
    level = level_;
    return roundEnd_;
}

void GameWindow::pump() {
    MSG message;
    while (roundEnd_ == RoundEnd::kNone) {
        const BOOL got = GetMessageA(&message, nullptr, 0, 0);
        if (got <= 0) {
            if (got == 0) PostQuitMessage(static_cast<int>(message.wParam));
            roundEnd_ = RoundEnd::kClosed;
            closeRequested_ = true;
            break;
        }
        const bool ours = message.hwnd == window_ || IsChild(window_, message.hwnd);
        if (ours && TranslateAcceleratorA(window_, accelerators_, &message)) continue;
        if (ours && IsDialogMessageA(window_, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

void GameWindow::showWaiting(const char* status) {
    setText(window_, kStatusText, status);
    UpdateWindow(window_);
}

void GameWindow::enableRound(bool enabled) {
    for (int id : {kScoreEdit, kLevelEdit, kFinishButton, kPlayButton, kQuitButton})
        EnableWindow(item(window_, id), enabled && (id == kQuitButton || !ticksLeft_));
    if (!enabled) setText(window_, kStartStringText, "");
}

void GameWindow::onCommand(int id) {
    if (!inRound_ || roundEnd_ != RoundEnd::kNone) return;
    if (id == kFinishButton && !ticksLeft_) finishTyped();
    if (id == kPlayButton && !ticksLeft_) playSimulated();
    if (id == kQuitButton) askToQuit();
}

void GameWindow::finishTyped() {
    int score = 0, level = 0;
    if (!readNumber(window_, kScoreEdit, score) || !readNumber(window_, kLevelEdit, level)) {
        MessageBoxA(window_, "Type the score and the level as whole numbers.", "Zorv", MB_OK | MB_ICONINFORMATION);
        return;
    }
    score_ = score;
    level_ = level;
    roundEnd_ = RoundEnd::kFinished;
}

void GameWindow::playSimulated() {
    ticksLeft_ = kTicksPerRound;
    enableRound(true);
    setText(window_, kStatusText, "The host is playing a round. Ctrl-S asks whether to quit.");
    SetFocus(item(window_, kQuitButton));
    SetTimer(window_, kSimulationTimer, kTickMs, nullptr);
}

void GameWindow::tick() {
    if (!ticksLeft_) return;
    score_ += 25 * (1 + nextRandom(8));
    if ((kTicksPerRound - ticksLeft_) % 8 == 7) ++level_;
    setNumber(window_, kScoreEdit, score_);
    setNumber(window_, kLevelEdit, level_);
    InvalidateRect(window_, &field_, TRUE);
    if (--ticksLeft_ == 0) {
        KillTimer(window_, kSimulationTimer);
        roundEnd_ = RoundEnd::kFinished;
    }
}

void GameWindow::askToQuit() {
    if (ticksLeft_) KillTimer(window_, kSimulationTimer);
    const bool quit = game_->stop();
    journal_.add({HostEvent::kStop, game_->title(), "", quit ? 1 : 0});
    if (quit)
        roundEnd_ = RoundEnd::kQuit;
    else if (ticksLeft_)
        SetTimer(window_, kSimulationTimer, kTickMs, nullptr);
}

int GameWindow::nextRandom(int below) {
    seed_ = seed_ * 1103515245u + 12345u;
    return static_cast<int>((seed_ >> 16) & 0x7fff) % below;
}

int playGames(const char* const* games, int count, Journal& journal) {
    GameWindow window(journal);
    if (!window.create()) {
        fprintf(stderr, "Cannot create the main window.\n");
        return 1;
    }
    for (int i = 0; i < count; ++i) {
        Plugin game;
        if (!game.load(games[i])) {
            fprintf(stderr, "%s\n", game.error());
            MessageBoxA(window.handle(), game.error(), "Zorv", MB_OK | MB_ICONERROR);
            return 1;
        }
        printf("Loaded %s\n", game.about());
        fflush(stdout);
        if (!window.play(game)) break;
    }
    return 0;
}
