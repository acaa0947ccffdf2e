// The registry, file search, clock and message box calls of one module under test, seen from
// its ledger for as long as the object lives. They are counted and recorded, and on request
// fail, answer from a script or read a pinned clock; message boxes are answered with IDOK and
// never shown.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "CallLedger.h"

struct KeyOpen {
    std::string subkey;
    REGSAM access;
};

struct ValueWrite {
    std::string name;
    DWORD type;
    std::string data;  // exactly the bytes passed, so its size is the length passed
};

struct FoundEntry {
    std::string name;
    bool directory;
};

class Interceptors : public LedgerView {
public:
    explicit Interceptors(HMODULE module) : LedgerView(module) {}

    // False when the module does not import one of the calls.
    bool installed() const;

    // What the module did: RegOpenKeyExA calls, GetSystemTime calls, RegSetValueExA calls that
    // reached the registry; what it holds and its message boxes are the ledger's.
    const std::vector<KeyOpen>& keyOpens() const { return keyOpens_; }
    int clockReads() const { return clockReads_; }
    const std::vector<ValueWrite>& writes() const { return writes_; }
    // Keys and searches held, with the one key the module handed out excepted.
    bool allClosedBut(HKEY handedOut = nullptr) const;

    // The nth RegOpenKeyExA call from now (1 = the next) fails as for a key that is not there; with
    // leaveHandle the key is opened all the same and left in the out-parameter.
    void failKeyOpen(int nth, bool leaveHandle = false);
    // As for a standard user under HKEY_LOCAL_MACHINE: every RegOpenKeyExA that asks for a
    // right to change the key fails with ERROR_ACCESS_DENIED; reading rights are granted.
    void refuseWriteRights() { refuseWriteRights_ = true; }
    // RegSetValueExA of this value name fails with ERROR_ACCESS_DENIED, storing nothing.
    void failValueWrite(const char* name) { failingWrites_.push_back(name); }
    void pinClock(const SYSTEMTIME& time) { clock_ = time; }
    // A (wide) search whose pattern ends in patternEnd yields these entries in this order (fails
    // as finding nothing when there are none); other searches go to the file system.
    void pinSearch(const char* patternEnd, const std::vector<FoundEntry>& entries) {
        patternEnd_ = patternEnd;
        entries_ = entries;
    }

    LONG openKey(HKEY parent, LPCSTR subkey, DWORD options, REGSAM access, PHKEY result) override;
    LONG setValue(HKEY key, LPCSTR name, DWORD reserved, DWORD type, const BYTE* data, DWORD size) override;
    HANDLE findFirstWide(LPCWSTR pattern, LPWIN32_FIND_DATAW data) override;
    BOOL findNextWide(HANDLE search, LPWIN32_FIND_DATAW data) override;
    BOOL findClose(HANDLE search) override;
    void readClock(LPSYSTEMTIME time) override;
    int messageBox(HWND, LPCSTR, LPCSTR, UINT) override { return IDOK; }

private:
    bool pinned(LPCWSTR pattern) const;
    BOOL nextPinned(LPWIN32_FIND_DATAW data);

    std::vector<KeyOpen> keyOpens_;
    int clockReads_ = 0;
    std::vector<ValueWrite> writes_;

    std::vector<std::pair<size_t, bool>> failingOpens_;  // call number, leave the handle
    std::vector<std::string> failingWrites_;
    bool refuseWriteRights_ = false;
    std::optional<SYSTEMTIME> clock_;
    std::string patternEnd_;
    std::vector<FoundEntry> entries_;
    size_t nextEntry_ = 0;
};
