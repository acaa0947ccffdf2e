#include "Interceptors.h"

#include <algorithm>
#include <cstring>

#include "ImportHook.h"

namespace {
struct State {
    std::vector<KeyOpen> keyOpens;
    std::vector<HKEY> keys;
    std::vector<HANDLE> searches;
    int strayCloses = 0;
    int clockReads = 0;
    std::vector<ValueWrite> writes;
    std::vector<BoxCall> boxes;

    int openCalls = 0;
    std::vector<std::pair<int, bool>> failingOpens;  // call number, leave the handle
    std::vector<std::string> failingWrites;
    bool clockPinned = false;
    SYSTEMTIME clock = {};
    std::string patternEnd;
    std::vector<FoundEntry> entries;
    size_t nextEntry = 0;

    decltype(&RegOpenKeyExA) realOpen;
    decltype(&RegCloseKey) realClose;
    decltype(&RegSetValueExA) realSet;
    decltype(&FindFirstFileA) realFindFirst;
    decltype(&FindNextFileA) realFindNext;
    decltype(&FindClose) realFindClose;
    decltype(&GetSystemTime) realClock;
};
State* state = nullptr;
char pinnedSearchTag;
HANDLE const kPinnedSearch = &pinnedSearchTag;

template <typename T>
bool take(std::vector<T>& held, T item) {
    auto found = std::find(held.begin(), held.end(), item);
    if (found == held.end()) {
        ++state->strayCloses;
        return false;
    }
    held.erase(found);
    return true;
}

LONG WINAPI openKey(HKEY parent, LPCSTR subkey, DWORD options, REGSAM access, PHKEY result) {
    state->keyOpens.push_back({subkey ? subkey : "", access});
    const int call = ++state->openCalls;
    for (const auto& failing : state->failingOpens) {
        if (failing.first != call) continue;
        if (!failing.second) {
            *result = nullptr;
        } else if (state->realOpen(parent, subkey, options, access, result) == ERROR_SUCCESS) {
            state->keys.push_back(*result);
        }
        return ERROR_ACCESS_DENIED;
    }
    const LONG status = state->realOpen(parent, subkey, options, access, result);
    if (status == ERROR_SUCCESS || *result) state->keys.push_back(*result);
    return status;
}

LONG WINAPI closeKey(HKEY key) {
    take(state->keys, key);
    return state->realClose(key);
}

LONG WINAPI setValue(HKEY key, LPCSTR name, DWORD reserved, DWORD type, const BYTE* data, DWORD size) {
    const std::string valueName = name ? name : "";
    const auto& failing = state->failingWrites;
    if (std::find(failing.begin(), failing.end(), valueName) != failing.end()) return ERROR_ACCESS_DENIED;
    state->writes.push_back({valueName, type, std::string(reinterpret_cast<const char*>(data), size)});
    return state->realSet(key, name, reserved, type, data, size);
}

bool pinned(LPCSTR pattern) {
    const std::string text = pattern ? pattern : "";
    const std::string& end = state->patternEnd;
    return !end.empty() && text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

BOOL nextPinned(LPWIN32_FIND_DATAA data) {
    if (state->nextEntry >= state->entries.size()) {
        SetLastError(ERROR_NO_MORE_FILES);
        return FALSE;
    }
    const FoundEntry& entry = state->entries[state->nextEntry++];
    memset(data, 0, sizeof *data);
    data->dwFileAttributes = entry.directory ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_ARCHIVE;
    strncpy(data->cFileName, entry.name.c_str(), sizeof data->cFileName - 1);
    return TRUE;
}

HANDLE WINAPI findFirst(LPCSTR pattern, LPWIN32_FIND_DATAA data) {
    HANDLE search = INVALID_HANDLE_VALUE;
    if (pinned(pattern)) {
        state->nextEntry = 0;
        if (!nextPinned(data)) {
            SetLastError(ERROR_FILE_NOT_FOUND);
            return INVALID_HANDLE_VALUE;
        }
        search = kPinnedSearch;
    } else {
        search = state->realFindFirst(pattern, data);
    }
    if (search != INVALID_HANDLE_VALUE) state->searches.push_back(search);
    return search;
}

BOOL WINAPI findNext(HANDLE search, LPWIN32_FIND_DATAA data) {
    return search == kPinnedSearch ? nextPinned(data) : state->realFindNext(search, data);
}

BOOL WINAPI findClose(HANDLE search) {
    if (!take(state->searches, search)) return FALSE;
    return search == kPinnedSearch ? TRUE : state->realFindClose(search);
}

void WINAPI readClock(LPSYSTEMTIME time) {
    ++state->clockReads;
    if (state->clockPinned)
        *time = state->clock;
    else
        state->realClock(time);
}

int WINAPI messageBox(HWND owner, LPCSTR text, LPCSTR title, UINT flags) {
    state->boxes.push_back({owner, text ? text : "(null)", title ? title : "(null)", flags});
    return IDOK;
}

template <typename Function>
const void* as(Function function) {
    return reinterpret_cast<const void*>(function);
}
}  // namespace

struct Interceptors::Hooks {
    explicit Hooks(HMODULE m)
        : open(m, "advapi32.dll", "RegOpenKeyExA", as(&openKey)),
          close(m, "advapi32.dll", "RegCloseKey", as(&closeKey)),
          set(m, "advapi32.dll", "RegSetValueExA", as(&setValue)),
          findFirst(m, "kernel32.dll", "FindFirstFileA", as(&::findFirst)),
          findNext(m, "kernel32.dll", "FindNextFileA", as(&::findNext)),
          findClose(m, "kernel32.dll", "FindClose", as(&::findClose)),
          clock(m, "kernel32.dll", "GetSystemTime", as(&readClock)),
          box(m, "user32.dll", "MessageBoxA", as(&messageBox)) {}
    State state;
    ImportHook open, close, set, findFirst, findNext, findClose, clock, box;
};

Interceptors::Interceptors(HMODULE module) : hooks_(new Hooks(module)) {
    State& s = hooks_->state;
    s.realOpen = hooks_->open.original<decltype(&RegOpenKeyExA)>();
    s.realClose = hooks_->close.original<decltype(&RegCloseKey)>();
    s.realSet = hooks_->set.original<decltype(&RegSetValueExA)>();
    s.realFindFirst = hooks_->findFirst.original<decltype(&FindFirstFileA)>();
    s.realFindNext = hooks_->findNext.original<decltype(&FindNextFileA)>();
    s.realFindClose = hooks_->findClose.original<decltype(&FindClose)>();
    s.realClock = hooks_->clock.original<decltype(&GetSystemTime)>();
    state = &s;
}

Interceptors::~Interceptors() {
    delete hooks_;
    state = nullptr;
}

bool Interceptors::installed() const {
    const Hooks& h = *hooks_;
    return h.open.installed() && h.close.installed() && h.set.installed() && h.findFirst.installed() &&
           h.findNext.installed() && h.findClose.installed() && h.clock.installed() && h.box.installed();
}

const std::vector<KeyOpen>& Interceptors::keyOpens() const { return hooks_->state.keyOpens; }
int Interceptors::keysHeld() const { return static_cast<int>(hooks_->state.keys.size()); }
int Interceptors::searchesHeld() const { return static_cast<int>(hooks_->state.searches.size()); }
int Interceptors::strayCloses() const { return hooks_->state.strayCloses; }
int Interceptors::clockReads() const { return hooks_->state.clockReads; }
const std::vector<ValueWrite>& Interceptors::writes() const { return hooks_->state.writes; }
const std::vector<BoxCall>& Interceptors::boxes() const { return hooks_->state.boxes; }

bool Interceptors::allClosedBut(HKEY handedOut) const {
    const State& s = hooks_->state;
    const bool keysClosed = s.keys.empty() || (handedOut && s.keys.size() == 1 && s.keys[0] == handedOut);
    return keysClosed && s.searches.empty() && s.strayCloses == 0;
}

void Interceptors::failKeyOpen(int nth, bool leaveHandle) {
    hooks_->state.failingOpens.push_back({hooks_->state.openCalls + nth, leaveHandle});
}

void Interceptors::failValueWrite(const char* name) { hooks_->state.failingWrites.push_back(name); }

void Interceptors::pinClock(const SYSTEMTIME& time) {
    hooks_->state.clockPinned = true;
    hooks_->state.clock = time;
}

void Interceptors::pinSearch(const char* patternEnd, const std::vector<FoundEntry>& entries) {
    hooks_->state.patternEnd = patternEnd;
    hooks_->state.entries = entries;
}
