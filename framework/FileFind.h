// A file search that is closed when it goes out of scope.
#pragma once

#include <windows.h>

// Searches with the wide functions and gives each name as narrow text. The narrow functions
// spell a character the code page lacks by "?" or by a look-alike (a fullwidth "*" as "*", a
// fullwidth "\" as "\"), a text that names another file or none; such a name is marked.
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

    // Empty when the name does not fit the narrow buffer.
    const char* GetFileName() const { return name_; }
    // True when the narrow name is the entry's own: it converts back without a substitution.
    bool HasExactName() const { return exact_; }
    bool IsDirectory() const { return (attributes_ & FILE_ATTRIBUTE_DIRECTORY) != 0; }
    bool IsDots() const;

private:
    HANDLE search_ = INVALID_HANDLE_VALUE;
    WIN32_FIND_DATAW next_ = {};
    bool hasNext_ = false;
    char name_[MAX_PATH] = {};
    DWORD attributes_ = 0;
    bool exact_ = false;
};

// True when a file or folder of exactly this path exists.
bool pathExists(const char* path);
