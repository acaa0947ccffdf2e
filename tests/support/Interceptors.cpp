#include "Interceptors.h"

#include <algorithm>
#include <cstring>

namespace {
char pinnedSearchTag;
HANDLE const kPinnedSearch = &pinnedSearchTag;
}  // namespace

bool Interceptors::installed() const {
    for (Api api : {Api::RegOpenKeyExA, Api::RegCloseKey, Api::RegSetValueExA, Api::FindFirstFileW, Api::FindNextFileW,
                    Api::FindClose, Api::GetSystemTime, Api::MessageBoxA})
        if (!hooked(api)) return false;
    return true;
}

bool Interceptors::allClosedBut(HKEY handedOut) const {
    const Holdings held = holdings();
    const bool keysClosed = held.keys == 0 || (handedOut && held.keys == 1 && holdsKey(handedOut));
    return keysClosed && held.searches == 0 && held.locks == 0 && held.strays == 0;
}

void Interceptors::failKeyOpen(int nth, bool leaveHandle) {
    failingOpens_.push_back({keyOpens_.size() + nth, leaveHandle});
}

LONG Interceptors::openKey(HKEY parent, LPCSTR subkey, DWORD options, REGSAM access, PHKEY result) {
    keyOpens_.push_back({subkey ? subkey : "", access});
    const REGSAM writing = KEY_SET_VALUE | KEY_CREATE_SUB_KEY | KEY_CREATE_LINK | DELETE | WRITE_DAC | WRITE_OWNER;
    if (refuseWriteRights_ && (access & writing)) {
        *result = nullptr;
        return ERROR_ACCESS_DENIED;
    }
    for (const auto& failing : failingOpens_) {
        if (failing.first != keyOpens_.size()) continue;
        if (failing.second)
            LedgerView::openKey(parent, subkey, options, access, result);
        else
            *result = nullptr;
        return ERROR_FILE_NOT_FOUND;
    }
    return LedgerView::openKey(parent, subkey, options, access, result);
}

LONG Interceptors::setValue(HKEY key, LPCSTR name, DWORD reserved, DWORD type, const BYTE* data, DWORD size) {
    const std::string valueName = name ? name : "";
    if (std::find(failingWrites_.begin(), failingWrites_.end(), valueName) != failingWrites_.end())
        return ERROR_ACCESS_DENIED;
    writes_.push_back({valueName, type, std::string(reinterpret_cast<const char*>(data), size)});
    return LedgerView::setValue(key, name, reserved, type, data, size);
}

bool Interceptors::pinned(LPCWSTR pattern) const {
    char narrow[2 * MAX_PATH] = {};
    if (pattern) WideCharToMultiByte(CP_ACP, 0, pattern, -1, narrow, sizeof narrow - 1, nullptr, nullptr);
    const std::string text = narrow;
    const std::string& end = patternEnd_;
    return !end.empty() && text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

BOOL Interceptors::nextPinned(LPWIN32_FIND_DATAW data) {
    if (nextEntry_ >= entries_.size()) {
        SetLastError(ERROR_NO_MORE_FILES);
        return FALSE;
    }
    const FoundEntry& entry = entries_[nextEntry_++];
    memset(data, 0, sizeof *data);
    data->dwFileAttributes = entry.directory ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_ARCHIVE;
    MultiByteToWideChar(CP_ACP, 0, entry.name.c_str(), -1, data->cFileName, MAX_PATH - 1);
    return TRUE;
}

HANDLE Interceptors::findFirstWide(LPCWSTR pattern, LPWIN32_FIND_DATAW data) {
    if (!pinned(pattern)) return LedgerView::findFirstWide(pattern, data);
    nextEntry_ = 0;
    if (nextPinned(data)) return kPinnedSearch;
    SetLastError(ERROR_FILE_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
}

BOOL Interceptors::findNextWide(HANDLE search, LPWIN32_FIND_DATAW data) {
    return search == kPinnedSearch ? nextPinned(data) : LedgerView::findNextWide(search, data);
}

BOOL Interceptors::findClose(HANDLE search) { return search == kPinnedSearch ? TRUE : LedgerView::findClose(search); }

void Interceptors::readClock(LPSYSTEMTIME time) {
    ++clockReads_;
    if (clock_)
        *time = *clock_;
    else
        LedgerView::readClock(time);
}
