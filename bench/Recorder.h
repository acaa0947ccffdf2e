// The platform calls of one entry-point call, as the plug-in made them through its imports, in
// order, with their arguments and the dialog and message each was made in: a script that
// Floor.h plays again with no plug-in code around it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "CallLedger.h"

// Where a call was made: outside every dialog (frame 0), or in one dialog's WM_INITDIALOG or
// WM_COMMAND with one control id. Frames are numbered in the order the dialogs were opened.
struct Phase {
    int frame;
    UINT message;
    WORD id;
};

struct Step {
    enum Kind {
        OpenKey,
        QueryValue,
        SetValue,
        CloseKey,
        FindFirst,      // an existence test, narrow
        FindFirstWide,  // a search; its pattern kept as narrow text
        FindNext,
        FindClose,
        LoadImage,
        CreateFont,
        GetObject,
        DeleteObject,
        EnumWindows,
        Centre,     // the dialog moved to the middle of the desktop, seen by its WM_WINDOWPOSCHANGING
        ListEntry,  // an entry put into a list or combo box, seen by its sent message
        Dialog,     // DialogBoxParamA, opening frame
        Kinds
    };
    Kind kind;
    int phase = 0;
    // The handle worked on: the one the step with this index made (for a list entry: the first
    // entry into the same control), else a fixed one (a predefined key); frameFont: the font of
    // the dialog the step was made in.
    int made = -1;
    HANDLE fixed = nullptr;
    bool frameFont = false;

    bool hasText = false;
    std::string text;  // subkey, value name, search pattern, resource name
    ULONG_PTR resource = 0;
    HINSTANCE instance = nullptr;
    DWORD options = 0, access = 0, type = 0, size = 0;
    bool typeOut = false, dataOut = false, sizeOut = false;
    std::vector<BYTE> data;  // what was stored
    LOGFONTA font = {};
    UINT flags = 0;
    int cx = 0, cy = 0;
    int frame = 0;     // Dialog: the frame it opens; Centre: the frame moved; ListEntry: the control's
    UINT message = 0;  // ListEntry: the message, sent with wParam and text to control id
    WPARAM wParam = 0;
    int id = 0;
    int ownerFrame = 0;  // Dialog: owned by that frame's window, else by owner
    HWND owner = nullptr;
    RECT moved = {};      // Centre: the rectangle it was moved to
    LONG_PTR result = 0;  // status, BOOL or handle the plug-in got back
};

const char* kindName(Step::Kind kind);
std::string describe(const Step& step);

struct Script {
    std::vector<Step> steps;
    std::vector<Phase> phases = {{0, 0, 0}};
    int frames = 0;
    std::vector<std::string> problems;  // calls the floor cannot make as they were made

    int count(Step::Kind kind) const;
    std::string describe(int phase) const;
};

// Records while it lives; one at a time. Calls pass on unchanged.
class Recorder : public LedgerView {
public:
    explicit Recorder(HMODULE module);
    ~Recorder() override;

    const Script& script() const { return script_; }

    LONG openKey(HKEY parent, LPCSTR subkey, DWORD options, REGSAM access, PHKEY result) override;
    LONG queryValue(HKEY key, LPCSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data, LPDWORD size) override;
    LONG setValue(HKEY key, LPCSTR name, DWORD reserved, DWORD type, const BYTE* data, DWORD size) override;
    LONG closeKey(HKEY key) override;
    HANDLE findFirst(LPCSTR pattern, LPWIN32_FIND_DATAA data) override;
    HANDLE findFirstWide(LPCWSTR pattern, LPWIN32_FIND_DATAW data) override;
    BOOL findNextWide(HANDLE search, LPWIN32_FIND_DATAW data) override;
    BOOL findClose(HANDLE search) override;
    HANDLE loadImage(HINSTANCE instance, LPCSTR name, UINT type, int cx, int cy, UINT flags) override;
    HFONT createFont(const LOGFONTA* description) override;
    int getObject(HANDLE object, int size, LPVOID buffer) override;
    BOOL deleteObject(HGDIOBJ object) override;
    int messageBox(HWND owner, LPCSTR text, LPCSTR title, UINT flags) override;
    INT_PTR dialogBox(HINSTANCE instance, LPCSTR name, HWND owner, DLGPROC procedure, LPARAM param) override;
    BOOL enumWindows(WNDENUMPROC callback, LPARAM param) override;
    FILE* openFile(const char* path, const char* mode) override;

private:
    struct Frame {
        HWND window = nullptr;
        DLGPROC procedure = nullptr;
        HFONT font = nullptr;
        bool gone = false;  // destroyed: its handle may come back for another window
    };

    static INT_PTR CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK onMessage(int code, WPARAM wParam, LPARAM lParam);

    int add(Step::Kind kind);
    void refer(Step& step, HANDLE handle);
    void made(int index, HANDLE handle);
    void released(HANDLE handle);
    template <typename Release>
    auto release(Step::Kind kind, HANDLE handle, Release call);
    int frameOf(HWND window);
    int frameOfControl(HWND control) const;
    int phaseOf(int frame, UINT message, WORD id);

    Script script_;
    std::vector<Frame> frames_ = {Frame()};
    std::vector<std::pair<HANDLE, int>> live_;  // handles held, with the step that made them
    int phase_ = 0;
    HHOOK hook_ = nullptr;
};
