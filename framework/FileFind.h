// A file search that is closed when it goes out of scope.
#pragma once

#include <windows.h>

class CFileFind {
public:
    CFileFind() = default;
    ~CFileFind() { Close(); }
    CFileFind(const CFileFind&) = delete;
    CFileFind& operator=(const CFileFind&) = delete;

    // Starts a search; the first entry is taken by the first FindNextFile.
    bool FindFile(const char* pattern);
    // Steps to the next entry; returns false when the entry it steps to is the last one.
    bool FindNextFile();
    void Close();

    const char* GetFileName() const { return found_.cFileName; }
    bool IsDirectory() const { return (found_.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
    bool IsDots() const;

private:
    HANDLE search_ = INVALID_HANDLE_VALUE;
    WIN32_FIND_DATAA found_ = {};
    WIN32_FIND_DATAA next_ = {};
    bool hasNext_ = false;
};

// True when a file or folder of exactly this path exists.
bool pathExists(const char* path);
