// The platform calls a module makes that can fail under it, recorded in order with the place
// in the module that made each one; on request one of them fails the way the platform reports
// failure. Also keeps count of what the module holds: keys, searches, files, fonts, bitmaps.
//
// Several ledgers may be in place at once, one per module; a call is booked to the module it
// returns to.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

enum class Api {
    RegOpenKeyExA,
    RegQueryValueExA,
    RegSetValueExA,
    RegCloseKey,
    FindFirstFileA,
    FindNextFileA,
    FindClose,
    LoadImageA,
    CreateFontIndirectA,
    GetObjectA,
    MessageBoxA,
    DialogBoxParamA,
    EnumWindows,
    fopen,
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

struct MessageBoxCall {
    HWND owner;
    std::string text, title;
};

struct Holdings {
    int keys = 0, searches = 0, files = 0, fonts = 0, bitmaps = 0;
    // Closes and deletes of something the module did not hold: double releases.
    int strays = 0;
    bool none() const { return !keys && !searches && !files && !fonts && !bitmaps && !strays; }
    std::string describe() const;
};

class CallLedger {
public:
    explicit CallLedger(HMODULE module);
    ~CallLedger();
    CallLedger(const CallLedger&) = delete;
    CallLedger& operator=(const CallLedger&) = delete;

    // False when the module does not import the function (or it could not be hooked).
    bool hooked(Api api) const;

    // The call with this index in the sequence from now on (0: the next) fails; -1: none.
    void failCall(int index);
    // The call that was made to fail; false when the sequence never got that far.
    bool failed(CallSite& site) const;

    const std::vector<CallSite>& calls() const;
    // Every message box asked for, shown or made to fail.
    const std::vector<MessageBoxCall>& boxes() const;
    // What the module holds now that it did not hold when the ledger was put in place.
    Holdings holdings() const;
    // Forgets the calls and boxes recorded so far (the holdings stay).
    void forget();

    struct State;

private:
    State* state_;
};
