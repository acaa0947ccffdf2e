#include "CallLedger.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <memory>
#include <optional>
#include <utility>

#include "DialogDriver.h"

namespace {
template <typename T>
T* at(HMODULE module, DWORD rva) {
    return reinterpret_cast<T*>(reinterpret_cast<BYTE*>(module) + rva);
}

// Visits every import by name as (dll, function, slot) until the visit says stop.
template <typename Visit>
void forEachImport(HMODULE module, Visit visit) {
    if (!module) return;
    auto* nt = at<IMAGE_NT_HEADERS>(module, reinterpret_cast<IMAGE_DOS_HEADER*>(module)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!dir.VirtualAddress) return;
    for (auto* d = at<IMAGE_IMPORT_DESCRIPTOR>(module, dir.VirtualAddress); d->Name; ++d) {
        const char* dll = at<char>(module, d->Name);
        auto* names = at<IMAGE_THUNK_DATA>(module, d->OriginalFirstThunk ? d->OriginalFirstThunk : d->FirstThunk);
        auto* slots = at<IMAGE_THUNK_DATA>(module, d->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            const char* function =
                reinterpret_cast<char*>(at<IMAGE_IMPORT_BY_NAME>(module, names->u1.AddressOfData)->Name);
            if (!visit(dll, function, reinterpret_cast<void**>(&slots->u1.Function))) return;
        }
    }
}

void writeSlot(void** slot, const void* value) {
    DWORD old = 0;
    VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &old);
    *slot = const_cast<void*>(value);
    VirtualProtect(slot, sizeof *slot, old, &old);
}

// One import slot pointed at a stand-in for as long as it lives.
class Slot {
public:
    Slot(void** slot, const void* standIn) : slot_(slot), original_(*slot) { writeSlot(slot_, standIn); }
    ~Slot() { writeSlot(slot_, original_); }
    Slot(const Slot&) = delete;
    Slot& operator=(const Slot&) = delete;
    void* original() const { return original_; }

private:
    void** slot_;
    void* original_;
};

// The bottom of every stack of views, made without a record: the functions the slots held before.
struct Platform final : LedgerView {
    void* real[static_cast<int>(Api::Count)] = {};
};
#define REAL(platform, function) \
    reinterpret_cast<decltype(&::function)>((platform).real[static_cast<int>(Api::function)])
}  // namespace

struct CallLedger::Record {
    explicit Record(HMODULE module);
    ~Record() {
        while (!slots.empty()) slots.pop_back();  // the last one written is put back first
    }

    HMODULE module;
    uintptr_t base = 0, end = 0;
    int users = 0;
    std::vector<CallSite> calls;
    std::vector<BoxCall> boxes;
    std::atomic<int> counts[static_cast<int>(Api::Count)] = {};
    long long index = 0, failAt = -1;
    std::optional<CallSite> failedSite;
    std::vector<const void*> keys, searches, files, fonts, bitmaps, locks;
    int strays = 0, deletedShown = 0, owned = 0;

    Platform platform;
    std::vector<LedgerView*> views;  // the last one made sees a call first
    std::vector<std::unique_ptr<Slot>> slots;

    LedgerView& top() { return views.empty() ? static_cast<LedgerView&>(platform) : *views.back(); }
    LedgerView& below(const LedgerView* view) {
        auto found = std::find(views.begin(), views.end(), view);
        return found == views.begin() || found == views.end() ? static_cast<LedgerView&>(platform) : **(found - 1);
    }

    // Counts the call and books it when it can fail; true when it is the one to fail.
    bool book(Api api, uintptr_t caller) {
        ++counts[static_cast<int>(api)];
        if (api >= Api::Failable) return false;
        const CallSite site = {api, caller - base};
        calls.push_back(site);
        if (index++ != failAt) return false;
        failedSite = site;
        return true;
    }
    template <typename Handle>
    Handle hold(std::vector<const void*>& held, Handle handle) {
        if (handle) held.push_back(handle);
        return handle;
    }
    // False for something not held.
    bool release(std::vector<const void*>& held, const void* handle) {
        auto found = std::find(held.begin(), held.end(), handle);
        if (found == held.end()) return false;
        held.erase(found);
        return true;
    }
};

namespace {
std::vector<std::unique_ptr<CallLedger::Record>> records;

CallLedger::Record& recordOf(uintptr_t caller, Api api) {
    for (auto& r : records)
        if (caller >= r->base && caller < r->end) return *r;
    // A tail call from a module hides its place; book it to the first module that imports it.
    for (auto& r : records)
        if (r->platform.real[static_cast<int>(api)]) return *r;
    return *records.front();
}

// Books the call to the module it returns to: s is that module's record, and failing tells
// whether this is the call to fail.
#define BOOK(api)                                                                      \
    const uintptr_t caller = reinterpret_cast<uintptr_t>(__builtin_return_address(0)); \
    CallLedger::Record& s = recordOf(caller, Api::api);                                \
    [[maybe_unused]] const bool failing = s.book(Api::api, caller)

// A failure as the platform reports it, with the reason left for GetLastError.
template <typename Result>
Result failWith(DWORD error, Result result) {
    SetLastError(error);
    return result;
}

LONG WINAPI regOpen(HKEY parent, LPCSTR subkey, DWORD options, REGSAM access, PHKEY result) {
    BOOK(RegOpenKeyExA);
    if (failing && result) *result = nullptr;
    if (failing) return ERROR_ACCESS_DENIED;
    const LONG status = s.top().openKey(parent, subkey, options, access, result);
    if (result && (status == ERROR_SUCCESS || *result)) s.keys.push_back(*result);
    return status;
}

LONG WINAPI regQuery(HKEY key, LPCSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data, LPDWORD size) {
    BOOK(RegQueryValueExA);
    return failing ? ERROR_ACCESS_DENIED : s.top().queryValue(key, name, reserved, type, data, size);
}

LONG WINAPI regSet(HKEY key, LPCSTR name, DWORD reserved, DWORD type, const BYTE* data, DWORD size) {
    BOOK(RegSetValueExA);
    return failing ? ERROR_ACCESS_DENIED : s.top().setValue(key, name, reserved, type, data, size);
}

// A close that reports failure has still let go of the handle, as the platform's do.
LONG WINAPI regClose(HKEY key) {
    BOOK(RegCloseKey);
    if (!s.release(s.keys, key)) ++s.strays;
    const LONG status = s.top().closeKey(key);
    return failing ? ERROR_ACCESS_DENIED : status;
}

HANDLE WINAPI findFirst(LPCSTR pattern, LPWIN32_FIND_DATAA data) {
    BOOK(FindFirstFileA);
    HANDLE search = failing ? failWith(ERROR_ACCESS_DENIED, INVALID_HANDLE_VALUE) : s.top().findFirst(pattern, data);
    if (search != INVALID_HANDLE_VALUE) s.searches.push_back(search);
    return search;
}

HANDLE WINAPI findFirstWide(LPCWSTR pattern, LPWIN32_FIND_DATAW data) {
    BOOK(FindFirstFileW);
    HANDLE search =
        failing ? failWith(ERROR_ACCESS_DENIED, INVALID_HANDLE_VALUE) : s.top().findFirstWide(pattern, data);
    if (search != INVALID_HANDLE_VALUE) s.searches.push_back(search);
    return search;
}

BOOL WINAPI findNextWide(HANDLE search, LPWIN32_FIND_DATAW data) {
    BOOK(FindNextFileW);
    return failing ? failWith(ERROR_NO_MORE_FILES, FALSE) : s.top().findNextWide(search, data);
}

BOOL WINAPI findClose(HANDLE search) {
    BOOK(FindClose);
    if (!s.release(s.searches, search)) ++s.strays;
    const BOOL closed = s.top().findClose(search);
    return failing ? failWith(ERROR_INVALID_HANDLE, FALSE) : closed;
}

HANDLE WINAPI loadImage(HINSTANCE instance, LPCSTR name, UINT type, int cx, int cy, UINT flags) {
    BOOK(LoadImageA);
    return s.hold(s.bitmaps, failing ? nullptr : s.top().loadImage(instance, name, type, cx, cy, flags));
}

HANDLE WINAPI copyImage(HANDLE image, UINT type, int cx, int cy, UINT flags) {
    BOOK(CopyImage);
    return s.hold(s.bitmaps, s.top().copyImage(image, type, cx, cy, flags));
}

HFONT WINAPI createFont(const LOGFONTA* description) {
    BOOK(CreateFontIndirectA);
    return s.hold(s.fonts, failing ? nullptr : s.top().createFont(description));
}

int WINAPI getObject(HANDLE object, int size, LPVOID buffer) {
    BOOK(GetObjectA);
    return failing ? 0 : s.top().getObject(object, size, buffer);
}

struct Search {
    HGDIOBJ object;
    bool found;
};

BOOL CALLBACK usesObject(HWND child, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    for (auto [message, wParam] : {std::pair<UINT, WPARAM>{WM_GETFONT, 0}, {BM_GETIMAGE, IMAGE_BITMAP}}) {
        DWORD_PTR held = 0;
        SendMessageTimeoutA(child, message, wParam, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, 1000, &held);
        search->found |= held == reinterpret_cast<DWORD_PTR>(search->object);
    }
    return !search->found;
}

// True when a control of a window of this process has the object as its font or image.
bool shownSomewhere(HGDIOBJ object) {
    Search search = {object, false};
    for (HWND window : driver::windowsOfProcess())
        if (!search.found) EnumChildWindows(window, usesObject, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

BOOL WINAPI deleteObject(HGDIOBJ object) {
    BOOK(DeleteObject);
    if (shownSomewhere(object)) ++s.deletedShown;
    if (!s.release(s.fonts, object) && !s.release(s.bitmaps, object)) ++s.strays;
    return s.top().deleteObject(object);
}

int WINAPI messageBox(HWND owner, LPCSTR text, LPCSTR title, UINT flags) {
    BOOK(MessageBoxA);
    s.boxes.push_back({owner, text ? text : "(null)", title ? title : "(null)", flags, s.owned > 0});
    return failing ? 0 : s.top().messageBox(owner, text, title, flags);
}

INT_PTR WINAPI dialogBox(HINSTANCE instance, LPCSTR name, HWND owner, DLGPROC procedure, LPARAM param) {
    BOOK(DialogBoxParamA);
    return failing ? failWith<INT_PTR>(ERROR_NOT_ENOUGH_MEMORY, -1)
                   : s.top().dialogBox(instance, name, owner, procedure, param);
}

BOOL WINAPI enumWindows(WNDENUMPROC callback, LPARAM param) {
    BOOK(EnumWindows);
    return failing ? FALSE : s.top().enumWindows(callback, param);
}

FILE* __cdecl openFile(const char* path, const char* mode) {
    BOOK(fopen);
    return s.hold(s.files, failing ? nullptr : s.top().openFile(path, mode));
}

int __cdecl closeFile(FILE* file) {
    BOOK(fclose);
    if (!s.release(s.files, file)) ++s.strays;
    return REAL(s.platform, fclose)(file);
}

BOOL WINAPI beep(UINT type) {
    BOOK(MessageBeep);
    return REAL(s.platform, MessageBeep)(type);
}

// A call only watched: booked, then handed to the views.
#define WATCHED(api, Result, standIn, parameters, ...) \
    Result WINAPI standIn parameters {                 \
        BOOK(api);                                     \
        return s.top().standIn(__VA_ARGS__);           \
    }
WATCHED(GetSystemTime, void, readClock, (LPSYSTEMTIME time), time)
WATCHED(GetWindowThreadProcessId, DWORD, windowThreadProcess, (HWND window, LPDWORD processId), window, processId)
WATCHED(GetSystemMetrics, int, systemMetrics, (int index), index)
WATCHED(MonitorFromWindow, HMONITOR, monitorFromWindow, (HWND window, DWORD flags), window, flags)
WATCHED(GetMonitorInfoA, BOOL, monitorInfo, (HMONITOR monitor, LPMONITORINFO info), monitor, info)

// The table lock: held from its open or create to its close, owned from a wait that had it to its release.
HANDLE WINAPI openMutex(DWORD access, BOOL inherit, LPCSTR name) {
    BOOK(OpenMutexA);
    return s.hold(s.locks, failing ? nullptr : REAL(s.platform, OpenMutexA)(access, inherit, name));
}

HANDLE WINAPI createMutex(LPSECURITY_ATTRIBUTES attributes, BOOL owned, LPCSTR name) {
    BOOK(CreateMutexA);
    return s.hold(s.locks, failing ? nullptr : REAL(s.platform, CreateMutexA)(attributes, owned, name));
}

DWORD WINAPI waitFor(HANDLE object, DWORD ms) {
    BOOK(WaitForSingleObject);
    const DWORD waited = failing ? WAIT_FAILED : REAL(s.platform, WaitForSingleObject)(object, ms);
    s.owned += waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
    return waited;
}

BOOL WINAPI releaseMutex(HANDLE mutex) {
    BOOK(ReleaseMutex);
    const BOOL released = REAL(s.platform, ReleaseMutex)(mutex);
    s.owned -= released != FALSE;
    return released;
}

BOOL WINAPI closeHandle(HANDLE object) {
    BOOK(CloseHandle);
    if (!s.release(s.locks, object)) ++s.strays;
    return REAL(s.platform, CloseHandle)(object);
}

template <typename Function>
const void* standIn(Function function) {
    return reinterpret_cast<const void*>(function);
}

struct Import {
    const char* dll;
    const char* function;
    const void* standIn;
};
// In the order of Api.
const Import kImports[] = {
    {"advapi32.dll", "RegOpenKeyExA", standIn(&regOpen)},
    {"advapi32.dll", "RegQueryValueExA", standIn(&regQuery)},
    {"advapi32.dll", "RegSetValueExA", standIn(&regSet)},
    {"advapi32.dll", "RegCloseKey", standIn(&regClose)},
    {"kernel32.dll", "FindFirstFileA", standIn(&findFirst)},
    {"kernel32.dll", "FindFirstFileW", standIn(&findFirstWide)},
    {"kernel32.dll", "FindNextFileW", standIn(&findNextWide)},
    {"kernel32.dll", "FindClose", standIn(&findClose)},
    {"user32.dll", "LoadImageA", standIn(&loadImage)},
    {"gdi32.dll", "CreateFontIndirectA", standIn(&createFont)},
    {"gdi32.dll", "GetObjectA", standIn(&getObject)},
    {"user32.dll", "MessageBoxA", standIn(&messageBox)},
    {"user32.dll", "DialogBoxParamA", standIn(&dialogBox)},
    {"user32.dll", "EnumWindows", standIn(&enumWindows)},
    {"msvcrt.dll", "fopen", standIn(&openFile)},
    {"kernel32.dll", "OpenMutexA", standIn(&openMutex)},
    {"kernel32.dll", "CreateMutexA", standIn(&createMutex)},
    {"kernel32.dll", "WaitForSingleObject", standIn(&waitFor)},
    {"gdi32.dll", "DeleteObject", standIn(&deleteObject)},
    {"user32.dll", "CopyImage", standIn(&copyImage)},
    {"msvcrt.dll", "fclose", standIn(&closeFile)},
    {"kernel32.dll", "GetSystemTime", standIn(&readClock)},
    {"user32.dll", "MessageBeep", standIn(&beep)},
    {"user32.dll", "GetWindowThreadProcessId", standIn(&windowThreadProcess)},
    {"user32.dll", "GetSystemMetrics", standIn(&systemMetrics)},
    {"user32.dll", "MonitorFromWindow", standIn(&monitorFromWindow)},
    {"user32.dll", "GetMonitorInfoA", standIn(&monitorInfo)},
    {"kernel32.dll", "ReleaseMutex", standIn(&releaseMutex)},
    {"kernel32.dll", "CloseHandle", standIn(&closeHandle)},
};
static_assert(sizeof kImports / sizeof *kImports == static_cast<size_t>(Api::Count), "one import per call");

bool isImport(const Import& import, const char* dll, const char* function) {
    return _stricmp(dll, import.dll) == 0 && strcmp(function, import.function) == 0;
}
}  // namespace

CallLedger::Record::Record(HMODULE m) : module(m), base(reinterpret_cast<uintptr_t>(m)) {
    if (!module) return;
    auto* nt = at<IMAGE_NT_HEADERS>(module, reinterpret_cast<IMAGE_DOS_HEADER*>(module)->e_lfanew);
    end = base + nt->OptionalHeader.SizeOfImage;
    forEachImport(module, [this](const char* dll, const char* function, void** slot) {
        for (int api = 0; api < static_cast<int>(Api::Count); ++api) {
            if (!isImport(kImports[api], dll, function)) continue;
            slots.emplace_back(new Slot(slot, kImports[api].standIn));
            if (!platform.real[api]) platform.real[api] = slots.back()->original();
        }
        return true;
    });
}

const char* apiName(Api api) { return kImports[static_cast<int>(api)].function; }

std::string describe(const CallSite& site) {
    char text[64];
    snprintf(text, sizeof text, "%s@+0x%x", apiName(site.api), static_cast<unsigned>(site.offset));
    return text;
}

std::string Holdings::describe() const {
    char text[160];
    snprintf(
        text, sizeof text,
        "keys %d, searches %d, files %d, fonts %d, bitmaps %d, locks %d, double releases %d, deleted while shown %d",
        keys, searches, files, fonts, bitmaps, locks, strays, deletedShown);
    return text;
}

CallLedger::CallLedger(HMODULE module) {
    for (auto& r : records)
        if (r->module == module) record_ = r.get();
    if (!record_) {
        records.emplace_back(new Record(module));
        record_ = records.back().get();
    }
    ++record_->users;
}

CallLedger::~CallLedger() {
    if (!record_ || --record_->users > 0) return;
    records.erase(std::find_if(records.begin(), records.end(), [this](const auto& r) { return r.get() == record_; }));
}

bool CallLedger::hooked(Api api) const { return record_->platform.real[static_cast<int>(api)]; }

void CallLedger::failCall(int index) {
    record_->failAt = index < 0 ? -1 : record_->index + index;
    record_->failedSite.reset();
}

bool CallLedger::failed(CallSite& site) const {
    site = record_->failedSite.value_or(CallSite{});
    return record_->failedSite.has_value();
}

const std::vector<CallSite>& CallLedger::calls() const { return record_->calls; }

int CallLedger::count(Api api) const { return record_->counts[static_cast<int>(api)]; }

const std::vector<BoxCall>& CallLedger::boxes() const { return record_->boxes; }

Holdings CallLedger::holdings() const {
    const Record& s = *record_;
    auto held = [](const std::vector<const void*>& handles) { return static_cast<int>(handles.size()); };
    const int locks = held(s.locks) + s.owned;  // a lock taken and not let go is held too
    return {held(s.keys), held(s.searches), held(s.files), held(s.fonts), held(s.bitmaps),
            locks,        s.strays,         s.deletedShown};
}

bool CallLedger::holdsKey(HKEY key) const {
    return std::find(record_->keys.begin(), record_->keys.end(), key) != record_->keys.end();
}

void CallLedger::forget() {
    record_->calls.clear();
    record_->boxes.clear();
    for (auto& count : record_->counts) count = 0;
}

LedgerView::LedgerView(HMODULE module) : CallLedger(module) { record_->views.push_back(this); }

LedgerView::~LedgerView() {
    if (!record_) return;
    auto& views = record_->views;
    views.erase(std::find(views.begin(), views.end(), this));
}

LedgerView& LedgerView::below() const { return record_->below(this); }

// A view passes the call on to the one below it; the platform makes it.
#define PASS(method, function, ...) \
    (record_ ? below().method(__VA_ARGS__) : REAL(*static_cast<const Platform*>(this), function)(__VA_ARGS__))

LONG LedgerView::openKey(HKEY k, LPCSTR s, DWORD o, REGSAM a, PHKEY r) {
    return PASS(openKey, RegOpenKeyExA, k, s, o, a, r);
}
LONG LedgerView::queryValue(HKEY k, LPCSTR n, LPDWORD r, LPDWORD t, LPBYTE d, LPDWORD s) {
    return PASS(queryValue, RegQueryValueExA, k, n, r, t, d, s);
}
LONG LedgerView::setValue(HKEY k, LPCSTR n, DWORD r, DWORD t, const BYTE* d, DWORD s) {
    return PASS(setValue, RegSetValueExA, k, n, r, t, d, s);
}
LONG LedgerView::closeKey(HKEY k) { return PASS(closeKey, RegCloseKey, k); }
HANDLE LedgerView::findFirst(LPCSTR p, LPWIN32_FIND_DATAA d) { return PASS(findFirst, FindFirstFileA, p, d); }
HANDLE LedgerView::findFirstWide(LPCWSTR p, LPWIN32_FIND_DATAW d) { return PASS(findFirstWide, FindFirstFileW, p, d); }
BOOL LedgerView::findNextWide(HANDLE h, LPWIN32_FIND_DATAW d) { return PASS(findNextWide, FindNextFileW, h, d); }
BOOL LedgerView::findClose(HANDLE h) { return PASS(findClose, FindClose, h); }
HANDLE LedgerView::loadImage(HINSTANCE i, LPCSTR n, UINT t, int x, int y, UINT f) {
    return PASS(loadImage, LoadImageA, i, n, t, x, y, f);
}
HANDLE LedgerView::copyImage(HANDLE h, UINT t, int x, int y, UINT f) {
    return PASS(copyImage, CopyImage, h, t, x, y, f);
}
HFONT LedgerView::createFont(const LOGFONTA* f) { return PASS(createFont, CreateFontIndirectA, f); }
int LedgerView::getObject(HANDLE h, int n, LPVOID b) { return PASS(getObject, GetObjectA, h, n, b); }
BOOL LedgerView::deleteObject(HGDIOBJ h) { return PASS(deleteObject, DeleteObject, h); }
int LedgerView::messageBox(HWND o, LPCSTR s, LPCSTR t, UINT f) { return PASS(messageBox, MessageBoxA, o, s, t, f); }
INT_PTR LedgerView::dialogBox(HINSTANCE i, LPCSTR n, HWND o, DLGPROC d, LPARAM p) {
    return PASS(dialogBox, DialogBoxParamA, i, n, o, d, p);
}
BOOL LedgerView::enumWindows(WNDENUMPROC c, LPARAM p) { return PASS(enumWindows, EnumWindows, c, p); }
FILE* LedgerView::openFile(const char* p, const char* m) { return PASS(openFile, fopen, p, m); }
void LedgerView::readClock(LPSYSTEMTIME t) { PASS(readClock, GetSystemTime, t); }
DWORD LedgerView::windowThreadProcess(HWND w, LPDWORD p) {
    return PASS(windowThreadProcess, GetWindowThreadProcessId, w, p);
}
int LedgerView::systemMetrics(int i) { return PASS(systemMetrics, GetSystemMetrics, i); }
HMONITOR LedgerView::monitorFromWindow(HWND w, DWORD f) { return PASS(monitorFromWindow, MonitorFromWindow, w, f); }
BOOL LedgerView::monitorInfo(HMONITOR m, LPMONITORINFO i) { return PASS(monitorInfo, GetMonitorInfoA, m, i); }

const void* importSlot(HMODULE module, Api api) {
    const Import& import = kImports[static_cast<int>(api)];
    const void* now = nullptr;
    forEachImport(module, [&](const char* dll, const char* function, void** slot) {
        if (!isImport(import, dll, function)) return true;
        now = *slot;
        return false;
    });
    return now;
}
