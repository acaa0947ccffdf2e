#include "CallLedger.h"

#include <algorithm>
#include <cstdio>
#include <memory>

#include "ImportHook.h"

namespace {
const char* const kApiNames[] = {
    "RegOpenKeyExA",       "RegQueryValueExA",
    "RegSetValueExA",      "RegCloseKey",
    "FindFirstFileA",      "FindNextFileA",
    "FindClose",           "LoadImageA",
    "CreateFontIndirectA", "GetObjectA",
    "MessageBoxA",         "DialogBoxParamA",
    "EnumWindows",         "fopen",
};
static_assert(sizeof kApiNames / sizeof *kApiNames == static_cast<size_t>(Api::Count), "one name per call");
}  // namespace

const char* apiName(Api api) { return kApiNames[static_cast<int>(api)]; }

std::string describe(const CallSite& site) {
    char text[64];
    snprintf(text, sizeof text, "%s@+0x%x", apiName(site.api), static_cast<unsigned>(site.offset));
    return text;
}

std::string Holdings::describe() const {
    char text[128];
    snprintf(text, sizeof text, "keys %d, searches %d, files %d, fonts %d, bitmaps %d, double releases %d", keys,
             searches, files, fonts, bitmaps, strays);
    return text;
}

struct CallLedger::State {
    uintptr_t base = 0, end = 0;
    std::vector<CallSite> calls;
    std::vector<MessageBoxCall> boxes;
    long long index = 0, failAt = -1;
    bool hasFailed = false;
    CallSite failedSite = {};
    std::vector<const void*> keys, searches, files, fonts, bitmaps;
    int strays = 0;

    decltype(&RegOpenKeyExA) regOpen;
    decltype(&RegQueryValueExA) regQuery;
    decltype(&RegSetValueExA) regSet;
    decltype(&RegCloseKey) regClose;
    decltype(&FindFirstFileA) findFirst;
    decltype(&FindNextFileA) findNext;
    decltype(&FindClose) findClose;
    decltype(&LoadImageA) loadImage;
    decltype(&CreateFontIndirectA) createFont;
    decltype(&GetObjectA) getObject;
    decltype(&DeleteObject) deleteObject;
    decltype(&MessageBoxA) messageBox;
    decltype(&DialogBoxParamA) dialogBox;
    decltype(&EnumWindows) enumWindows;
    decltype(&::fopen) openFile;
    decltype(&::fclose) closeFile;
    std::vector<std::unique_ptr<ImportHook>> hooks;
    bool hookedApi[static_cast<int>(Api::Count)] = {};

    // Books the call; true when it is the one to fail.
    bool next(Api api, uintptr_t caller) {
        const CallSite site = {api, caller - base};
        calls.push_back(site);
        if (index++ != failAt) return false;
        hasFailed = true;
        failedSite = site;
        return true;
    }
    void hold(std::vector<const void*>& held, const void* handle) { held.push_back(handle); }
    // False for something not held.
    bool release(std::vector<const void*>& held, const void* handle) {
        auto found = std::find(held.begin(), held.end(), handle);
        if (found == held.end()) return false;
        held.erase(found);
        return true;
    }
};

namespace {
std::vector<CallLedger::State*> ledgers;

CallLedger::State& ledgerOf(uintptr_t caller) {
    for (CallLedger::State* s : ledgers)
        if (caller >= s->base && caller < s->end) return *s;
    return *ledgers.front();  // a tail call from a module hides its place; book it to the first
}

#define CALLER reinterpret_cast<uintptr_t>(__builtin_return_address(0))

LONG WINAPI regOpen(HKEY parent, LPCSTR subkey, DWORD options, REGSAM access, PHKEY result) {
    CallLedger::State& s = ledgerOf(CALLER);
    if (s.next(Api::RegOpenKeyExA, CALLER)) {
        if (result) *result = nullptr;
        return ERROR_ACCESS_DENIED;
    }
    const LONG status = s.regOpen(parent, subkey, options, access, result);
    if (result && (status == ERROR_SUCCESS || *result)) s.hold(s.keys, *result);
    return status;
}

LONG WINAPI regQuery(HKEY key, LPCSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data, LPDWORD size) {
    CallLedger::State& s = ledgerOf(CALLER);
    if (s.next(Api::RegQueryValueExA, CALLER)) return ERROR_ACCESS_DENIED;
    return s.regQuery(key, name, reserved, type, data, size);
}

LONG WINAPI regSet(HKEY key, LPCSTR name, DWORD reserved, DWORD type, const BYTE* data, DWORD size) {
    CallLedger::State& s = ledgerOf(CALLER);
    if (s.next(Api::RegSetValueExA, CALLER)) return ERROR_ACCESS_DENIED;
    return s.regSet(key, name, reserved, type, data, size);
}

// A close that reports failure has still let go of the handle, as the platform's do.
LONG WINAPI regClose(HKEY key) {
    CallLedger::State& s = ledgerOf(CALLER);
    const bool fail = s.next(Api::RegCloseKey, CALLER);
    if (!s.release(s.keys, key)) ++s.strays;
    const LONG status = s.regClose(key);
    return fail ? ERROR_ACCESS_DENIED : status;
}

HANDLE WINAPI findFirst(LPCSTR pattern, LPWIN32_FIND_DATAA data) {
    CallLedger::State& s = ledgerOf(CALLER);
    if (s.next(Api::FindFirstFileA, CALLER)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return INVALID_HANDLE_VALUE;
    }
    HANDLE search = s.findFirst(pattern, data);
    if (search != INVALID_HANDLE_VALUE) s.hold(s.searches, search);
    return search;
}

BOOL WINAPI findNext(HANDLE search, LPWIN32_FIND_DATAA data) {
    CallLedger::State& s = ledgerOf(CALLER);
    if (s.next(Api::FindNextFileA, CALLER)) {
        SetLastError(ERROR_NO_MORE_FILES);
        return FALSE;
    }
    return s.findNext(search, data);
}

BOOL WINAPI findClose(HANDLE search) {
    CallLedger::State& s = ledgerOf(CALLER);
    const bool fail = s.next(Api::FindClose, CALLER);
    if (!s.release(s.searches, search)) ++s.strays;
    const BOOL closed = s.findClose(search);
    if (!fail) return closed;
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
}

HANDLE WINAPI loadImage(HINSTANCE instance, LPCSTR name, UINT type, int cx, int cy, UINT flags) {
    CallLedger::State& s = ledgerOf(CALLER);
    if (s.next(Api::LoadImageA, CALLER)) return nullptr;
    HANDLE image = s.loadImage(instance, name, type, cx, cy, flags);
    if (image) s.hold(s.bitmaps, image);
    return image;
}

HFONT WINAPI createFont(const LOGFONTA* description) {
    CallLedger::State& s = ledgerOf(CALLER);
    if (s.next(Api::CreateFontIndirectA, CALLER)) return nullptr;
    HFONT font = s.createFont(description);
    if (font) s.hold(s.fonts, font);
    return font;
}

int WINAPI getObject(HANDLE object, int size, LPVOID buffer) {
    CallLedger::State& s = ledgerOf(CALLER);
    if (s.next(Api::GetObjectA, CALLER)) return 0;
    return s.getObject(object, size, buffer);
}

BOOL WINAPI deleteObject(HGDIOBJ object) {
    CallLedger::State& s = ledgerOf(CALLER);
    if (!s.release(s.fonts, object) && !s.release(s.bitmaps, object)) ++s.strays;
    return s.deleteObject(object);
}

int WINAPI messageBox(HWND owner, LPCSTR text, LPCSTR title, UINT flags) {
    CallLedger::State& s = ledgerOf(CALLER);
    s.boxes.push_back({owner, text ? text : "(null)", title ? title : "(null)"});
    if (s.next(Api::MessageBoxA, CALLER)) return 0;
    return s.messageBox(owner, text, title, flags);
}

INT_PTR WINAPI dialogBox(HINSTANCE instance, LPCSTR name, HWND owner, DLGPROC procedure, LPARAM param) {
    CallLedger::State& s = ledgerOf(CALLER);
    if (s.next(Api::DialogBoxParamA, CALLER)) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return -1;
    }
    return s.dialogBox(instance, name, owner, procedure, param);
}

BOOL WINAPI enumWindows(WNDENUMPROC callback, LPARAM param) {
    CallLedger::State& s = ledgerOf(CALLER);
    if (s.next(Api::EnumWindows, CALLER)) return FALSE;
    return s.enumWindows(callback, param);
}

FILE* __cdecl openFile(const char* path, const char* mode) {
    CallLedger::State& s = ledgerOf(CALLER);
    if (s.next(Api::fopen, CALLER)) return nullptr;
    FILE* file = s.openFile(path, mode);
    if (file) s.hold(s.files, file);
    return file;
}

int __cdecl closeFile(FILE* file) {
    CallLedger::State& s = ledgerOf(CALLER);
    if (!s.release(s.files, file)) ++s.strays;
    return s.closeFile(file);
}

// Puts the replacement in place and keeps the function it replaced; -1: a release, not booked.
template <typename Function>
void hook(CallLedger::State& s, HMODULE module, const char* dll, const char* name, Function replacement,
          Function& original, int api = -1) {
    std::unique_ptr<ImportHook> h(new ImportHook(module, dll, name, reinterpret_cast<const void*>(replacement)));
    original = h->installed() ? h->original<Function>() : nullptr;
    if (api >= 0) s.hookedApi[api] = h->installed();
    s.hooks.push_back(std::move(h));
}
}  // namespace

CallLedger::CallLedger(HMODULE module) : state_(new State) {
    State& s = *state_;
    s.base = reinterpret_cast<uintptr_t>(module);
    if (module) {
        auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(module);
        auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(s.base + dos->e_lfanew);
        s.end = s.base + nt->OptionalHeader.SizeOfImage;
    }
    const auto at = [](Api api) { return static_cast<int>(api); };
    hook(s, module, "advapi32.dll", "RegOpenKeyExA", &regOpen, s.regOpen, at(Api::RegOpenKeyExA));
    hook(s, module, "advapi32.dll", "RegQueryValueExA", &regQuery, s.regQuery, at(Api::RegQueryValueExA));
    hook(s, module, "advapi32.dll", "RegSetValueExA", &regSet, s.regSet, at(Api::RegSetValueExA));
    hook(s, module, "advapi32.dll", "RegCloseKey", &regClose, s.regClose, at(Api::RegCloseKey));
    hook(s, module, "kernel32.dll", "FindFirstFileA", &findFirst, s.findFirst, at(Api::FindFirstFileA));
    hook(s, module, "kernel32.dll", "FindNextFileA", &findNext, s.findNext, at(Api::FindNextFileA));
    hook(s, module, "kernel32.dll", "FindClose", &findClose, s.findClose, at(Api::FindClose));
    hook(s, module, "user32.dll", "LoadImageA", &loadImage, s.loadImage, at(Api::LoadImageA));
    hook(s, module, "gdi32.dll", "CreateFontIndirectA", &createFont, s.createFont, at(Api::CreateFontIndirectA));
    hook(s, module, "gdi32.dll", "GetObjectA", &getObject, s.getObject, at(Api::GetObjectA));
    hook(s, module, "gdi32.dll", "DeleteObject", &deleteObject, s.deleteObject);
    hook(s, module, "user32.dll", "MessageBoxA", &messageBox, s.messageBox, at(Api::MessageBoxA));
    hook(s, module, "user32.dll", "DialogBoxParamA", &dialogBox, s.dialogBox, at(Api::DialogBoxParamA));
    hook(s, module, "user32.dll", "EnumWindows", &enumWindows, s.enumWindows, at(Api::EnumWindows));
    hook(s, module, "msvcrt.dll", "fopen", &openFile, s.openFile, at(Api::fopen));
    hook(s, module, "msvcrt.dll", "fclose", &closeFile, s.closeFile);
    ledgers.push_back(state_);
}

CallLedger::~CallLedger() {
    ledgers.erase(std::find(ledgers.begin(), ledgers.end(), state_));
    delete state_;
}

bool CallLedger::hooked(Api api) const { return state_->hookedApi[static_cast<int>(api)]; }

void CallLedger::failCall(int index) {
    state_->failAt = index < 0 ? -1 : state_->index + index;
    state_->hasFailed = false;
}

bool CallLedger::failed(CallSite& site) const {
    site = state_->failedSite;
    return state_->hasFailed;
}

const std::vector<CallSite>& CallLedger::calls() const { return state_->calls; }

const std::vector<MessageBoxCall>& CallLedger::boxes() const { return state_->boxes; }

Holdings CallLedger::holdings() const {
    const State& s = *state_;
    Holdings h;
    h.keys = static_cast<int>(s.keys.size());
    h.searches = static_cast<int>(s.searches.size());
    h.files = static_cast<int>(s.files.size());
    h.fonts = static_cast<int>(s.fonts.size());
    h.bitmaps = static_cast<int>(s.bitmaps.size());
    h.strays = s.strays;
    return h;
}

void CallLedger::forget() {
    state_->calls.clear();
    state_->boxes.clear();
}
