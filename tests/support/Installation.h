// A host installation made for one test: a fresh folder on disk and the host key naming it.
#pragma once

#include <string>

#include "RegistrySandbox.h"

// A fresh temporary installation directory (under the temp folder) with its own registry
// sandbox; creates the host key with MainDir = dir(), and with a name given adds that world and
// makes it current; removes the folder tree on destruction.
class Installation {
public:
    explicit Installation(const char* currentWorld = nullptr);
    ~Installation();
    Installation(const Installation&) = delete;
    Installation& operator=(const Installation&) = delete;

    // Ends in one backslash.
    const std::string& dir() const { return dir_; }
    // Desktops\<name>\ with <name>.dcr in it unless withMovie is false; also the world key <name>.
    void addWorld(const char* name, bool withMovie = true);
    // Relative to dir(); with its parents.
    void addFolder(const std::string& relative);
    void addFile(const char* relative);
    // Through the wide calls, for names the code page cannot spell and paths longer than MAX_PATH;
    // no parents are made.
    bool addFolder(const std::wstring& relative);
    bool addFile(const std::wstring& relative);
    // CurrMovie as REG_SZ with its terminator.
    void setCurrentWorld(const char* name);

private:
    RegistrySandbox registry_;
    std::string dir_;
};

// Removes the folder with everything in it; the path ends in a backslash.
void removeTree(const std::string& folder);
