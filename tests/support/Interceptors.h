// Stand-ins for the registry, file search, clock and message box calls of one module under
// test, in place for as long as the object lives. They count and record what the module
// does, and on request fail, answer from a script or pin the clock. One at a time.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct KeyOpen {
    std::string subkey;
    REGSAM access;
};

struct ValueWrite {
    std::string name;
    DWORD type;
    std::string data;  // exactly the bytes passed, so its size is the length passed
};

struct BoxCall {
    HWND owner;
    std::string text, title;
    UINT flags;
};

struct FoundEntry {
    std::string name;
    bool directory;
};

class Interceptors {
public:
    explicit Interceptors(HMODULE module);
    ~Interceptors();
    Interceptors(const Interceptors&) = delete;
    Interceptors& operator=(const Interceptors&) = delete;

    // False when the module does not import one of the calls.
    bool installed() const;

    // What the module did: RegOpenKeyExA calls, keys and searches it holds open (closing one
    // it does not hold counts as a stray close), GetSystemTime calls, RegSetValueExA calls
    // that reached the registry, message boxes (answered with IDOK, never shown).
    const std::vector<KeyOpen>& keyOpens() const;
    int keysHeld() const;
    int searchesHeld() const;
    int strayCloses() const;
    int clockReads() const;
    const std::vector<ValueWrite>& writes() const;
    const std::vector<BoxCall>& boxes() const;
    // Keys and searches held, with the one key the module handed out excepted.
    bool allClosedBut(HKEY handedOut = nullptr) const;

    // The nth RegOpenKeyExA call from now (1 = the next) fails with ERROR_ACCESS_DENIED; with
    // leaveHandle the key is opened all the same and left in the out-parameter.
    void failKeyOpen(int nth, bool leaveHandle = false);
    // RegSetValueExA of this value name fails with ERROR_ACCESS_DENIED, storing nothing.
    void failValueWrite(const char* name);
    void pinClock(const SYSTEMTIME& time);
    // A search whose pattern ends in patternEnd yields these entries in this order (fails
    // as finding nothing when there are none); other searches go to the file system.
    void pinSearch(const char* patternEnd, const std::vector<FoundEntry>& entries);

private:
    struct Hooks;
    Hooks* hooks_;
};
