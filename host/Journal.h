// What the host and the plug-ins said to each other: printed as it happens, and kept so that
// a script driving the host from another thread can check it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct HostEvent {
    enum Kind { kStart, kRound, kStop, kScore };
    Kind kind;
    std::string game;
    std::string text;  // start string (start, round) or score string (score)
    int result;        // start and stop: 1 or 0; score: what the entry point returned; round: its number
};

class Journal {
public:
    Journal() { InitializeCriticalSection(&lock_); }
    ~Journal() { DeleteCriticalSection(&lock_); }
    Journal(const Journal&) = delete;
    Journal& operator=(const Journal&) = delete;

    void add(const HostEvent& event);
    int size();
    // The event at this index once it has happened; false when the wait ran out first.
    bool waitFor(int index, DWORD timeoutMs, HostEvent& event);

private:
    CRITICAL_SECTION lock_;
    std::vector<HostEvent> events_;
};

// One line, as printed: 'Orvane: start -> 1, start string "default"'.
std::string describe(const HostEvent& event);
