// The platform calls a module makes through its imports, recorded in order with the place in
// the module that made each one; on request one of the calls that can fail fails the way the
// platform reports failure. Also keeps count of what the module holds: keys, searches, files,
// fonts, bitmaps, locks.
//
// The ledger is the only thing that rewrites import slots. Every CallLedger made for one module
// shares one record: the first puts the module's calls through the ledger, the last puts them
// back, slot by slot in the reverse order. Several modules may be under ledgers at once; a call
// is booked to the module it returns to. Views (LedgerView) stack on a module's ledger to answer
// or watch its calls on their way to the platform.
#pragma once

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

enum class Api {
    RegOpenKeyExA,
    RegQueryValueExA,
    RegSetValueExA,
    RegCloseKey,
    FindFirstFileA,  // an existence test
    FindFirstFileW,  // a search, whose names are then converted
    FindNextFileW,
    FindClose,
    LoadImageA,
    CreateFontIndirectA,
    GetObjectA,
    MessageBoxA,
    DialogBoxParamA,
    EnumWindows,
    fopen,
    OpenMutexA,  // the table lock's
    CreateMutexA,
    WaitForSingleObject,
    // The calls above can be made to fail; the ones below are only watched.
    Failable,
    DeleteObject = Failable,
    CopyImage,  // only at a dpi other than 96, where no flow runs
    fclose,
    GetSystemTime,
    MessageBeep,
    GetWindowThreadProcessId,
    GetSystemMetrics,
    MonitorFromWindow,
    GetMonitorInfoA,
    ReleaseMutex,
    CloseHandle,
    Count
};
const char* apiName(Api api);

// A call of one function from one place in the module.
struct CallSite {
    Api api;
    uintptr_t offset;  // of the return address, from the module's base: the same at every load
    bool operator==(const CallSite& other) const { return api == other.api && offset == other.offset; }
    bool operator<(const CallSite& other) const { return api != other.api ? api < other.api : offset < other.offset; }
};
std::string describe(const CallSite& site);

struct BoxCall {
    HWND owner;
    std::string text, title;
    UINT flags;
    bool locked = false;  // asked for while the module held the table lock
};

struct Holdings {
    int keys = 0, searches = 0, files = 0, fonts = 0, bitmaps = 0, locks = 0;
    // Closes and deletes of something the module did not hold: double releases.
    int strays = 0;
    // Fonts and bitmaps deleted while a window of the process still showed them.
    int deletedShown = 0;
    bool none() const {
        return !keys && !searches && !files && !fonts && !bitmaps && !locks && !strays && !deletedShown;
    }
    std::string describe() const;
};

class CallLedger {
public:
    explicit CallLedger(HMODULE module);
    ~CallLedger();
    CallLedger(const CallLedger&) = delete;
    CallLedger& operator=(const CallLedger&) = delete;

    // False when the module does not import the function.
    bool hooked(Api api) const;

    // The call that can fail with this index in the sequence from now on (0: the next) fails;
    // -1: none.
    void failCall(int index);
    // The call that was made to fail; false when the sequence never got that far.
    bool failed(CallSite& site) const;

    // The calls that can fail, in the order made.
    const std::vector<CallSite>& calls() const;
    // Calls of the function so far, whether they can fail or are only watched.
    int count(Api api) const;
    // Every message box asked for, shown or made to fail.
    const std::vector<BoxCall>& boxes() const;
    // What the module holds now that it did not hold when its ledger was put in place.
    Holdings holdings() const;
    bool holdsKey(HKEY key) const;
    // Forgets the calls, counts and boxes recorded so far (the holdings stay).
    void forget();

    struct Record;

protected:
    CallLedger() = default;
    Record* record_ = nullptr;
};

// A layer between a module and the platform, on top of the layers made before it. Each call
// that can fail is booked (and failed, when asked) before any view sees it, and what the module
// holds is counted from what the views hand back. By default a view passes every call on to
// the one below, and at last to the platform; a view overrides the calls it answers or watches.
// fclose, MessageBeep and the lock's calls are only counted: they go straight to the platform.
class LedgerView : public CallLedger {
public:
    explicit LedgerView(HMODULE module);
    virtual ~LedgerView();

    virtual LONG openKey(HKEY parent, LPCSTR subkey, DWORD options, REGSAM access, PHKEY result);
    virtual LONG queryValue(HKEY key, LPCSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data, LPDWORD size);
    virtual LONG setValue(HKEY key, LPCSTR name, DWORD reserved, DWORD type, const BYTE* data, DWORD size);
    virtual LONG closeKey(HKEY key);
    virtual HANDLE findFirst(LPCSTR pattern, LPWIN32_FIND_DATAA data);
    virtual HANDLE findFirstWide(LPCWSTR pattern, LPWIN32_FIND_DATAW data);
    virtual BOOL findNextWide(HANDLE search, LPWIN32_FIND_DATAW data);
    virtual BOOL findClose(HANDLE search);
    virtual HANDLE loadImage(HINSTANCE instance, LPCSTR name, UINT type, int cx, int cy, UINT flags);
    virtual HANDLE copyImage(HANDLE image, UINT type, int cx, int cy, UINT flags);
    virtual HFONT createFont(const LOGFONTA* description);
    virtual int getObject(HANDLE object, int size, LPVOID buffer);
    virtual BOOL deleteObject(HGDIOBJ object);
    virtual int messageBox(HWND owner, LPCSTR text, LPCSTR title, UINT flags);
    virtual INT_PTR dialogBox(HINSTANCE instance, LPCSTR name, HWND owner, DLGPROC procedure, LPARAM param);
    virtual BOOL enumWindows(WNDENUMPROC callback, LPARAM param);
    virtual FILE* openFile(const char* path, const char* mode);
    virtual void readClock(LPSYSTEMTIME time);
    virtual DWORD windowThreadProcess(HWND window, LPDWORD processId);
    virtual int systemMetrics(int index);
    virtual HMONITOR monitorFromWindow(HWND window, DWORD flags);
    virtual BOOL monitorInfo(HMONITOR monitor, LPMONITORINFO info);

protected:
    LedgerView() = default;  // the platform itself, at the bottom of every stack
    LedgerView& below() const;
};

// Where the module's import slot of the function points now; null when it does not import it.
const void* importSlot(HMODULE module, Api api);
