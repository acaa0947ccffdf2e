// Before any C++ header, which would swap msvcrt's printf family for the compiler runtime's.
#include <stdio.h>

#include "Journal.h"

std::string describe(const HostEvent& event) {
    char line[700];
    const char* game = event.game.c_str();
    const char* text = event.text.c_str();
    switch (event.kind) {
        case HostEvent::kStart:
            if (event.result)
                snprintf(line, sizeof line, "%s: start -> 1, start string \"%s\"", game, text);
            else
                snprintf(line, sizeof line, "%s: start -> 0, no game", game);
            break;
        case HostEvent::kRound:
            snprintf(line, sizeof line, "%s: round %i with \"%s\"", game, event.result, text);
            break;
        case HostEvent::kStop:
            snprintf(line, sizeof line, "%s: stop -> %i (%s)", game, event.result,
                     event.result ? "Yes, the round ends without a score" : "No, the round goes on");
            break;
        case HostEvent::kScore:
            snprintf(line, sizeof line, "%s: score string \"%s\" -> %i (%s)", game, text, event.result,
                     event.result == 1 ? "Replay" : "Close");
            break;
    }
    return line;
}

void Journal::add(const HostEvent& event) {
    printf("%s\n", describe(event).c_str());
    fflush(stdout);
    EnterCriticalSection(&lock_);
    events_.push_back(event);
    LeaveCriticalSection(&lock_);
}

int Journal::size() {
    EnterCriticalSection(&lock_);
    const int count = static_cast<int>(events_.size());
    LeaveCriticalSection(&lock_);
    return count;
}

bool Journal::waitFor(int index, DWORD timeoutMs, HostEvent& event) {
    for (DWORD start = GetTickCount();; Sleep(10)) {
        EnterCriticalSection(&lock_);
        const bool there = index < static_cast<int>(events_.size());
        if (there) event = events_[index];
        LeaveCriticalSection(&lock_);
        if (there) return true;
        if (GetTickCount() - start > timeoutMs) return false;
    }
}
