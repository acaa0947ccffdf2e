#include "FileFind.h"

#include <cstring>

bool CFileFind::FindFile(const char* pattern) {
    Close();
    search_ = FindFirstFileA(pattern, &next_);
    hasNext_ = search_ != INVALID_HANDLE_VALUE;
    return hasNext_;
}

bool CFileFind::FindNextFile() {
    if (!hasNext_) return false;
    found_ = next_;
    hasNext_ = ::FindNextFileA(search_, &next_) != 0;
    return hasNext_;
}

void CFileFind::Close() {
    if (search_ != INVALID_HANDLE_VALUE) FindClose(search_);
    search_ = INVALID_HANDLE_VALUE;
    hasNext_ = false;
}

bool CFileFind::IsDots() const {
    return IsDirectory() && (strcmp(found_.cFileName, ".") == 0 || strcmp(found_.cFileName, "..") == 0);
}

bool pathExists(const char* path) {
    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA(path, &data);
    if (search == INVALID_HANDLE_VALUE) return false;
    FindClose(search);
    return true;
}
