#include "FileFind.h"

#include <cstring>

bool CFileFind::FindFile(const char* pattern) {
    Close();
    // Long enough for any narrow path the pattern's folder can have, two-byte characters and all.
    wchar_t widePattern[2 * MAX_PATH];
    if (!MultiByteToWideChar(CP_ACP, 0, pattern, -1, widePattern, 2 * MAX_PATH)) return false;
    search_ = FindFirstFileW(widePattern, &next_);
    hasNext_ = search_ != INVALID_HANDLE_VALUE;
    return hasNext_;
}

bool CFileFind::FindNextFile() {
    if (!hasNext_) return false;
    attributes_ = next_.dwFileAttributes;
    // Under UTF-8 every name converts exactly, and the conversion takes neither the flag nor the
    // question whether a default character was used.
    const bool utf8 = GetACP() == CP_UTF8;
    BOOL substituted = FALSE;
    exact_ = WideCharToMultiByte(CP_ACP, utf8 ? 0 : WC_NO_BEST_FIT_CHARS, next_.cFileName, -1, name_, sizeof name_,
                                 nullptr, utf8 ? nullptr : &substituted) != 0 &&
             !substituted;
    if (!exact_) name_[0] = 0;
    hasNext_ = ::FindNextFileW(search_, &next_) != 0;
    return hasNext_;
}

void CFileFind::Close() {
    if (search_ != INVALID_HANDLE_VALUE) FindClose(search_);
    search_ = INVALID_HANDLE_VALUE;
    hasNext_ = false;
}

bool CFileFind::IsDots() const { return IsDirectory() && (strcmp(name_, ".") == 0 || strcmp(name_, "..") == 0); }

bool pathExists(const char* path) {
    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA(path, &data);
    if (search == INVALID_HANDLE_VALUE) return false;
    FindClose(search);
    return true;
}
