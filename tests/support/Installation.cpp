#include "Installation.h"

#include <windows.h>

#include <cstdio>

namespace {
// A path as the wide calls take it, beyond MAX_PATH too.
std::wstring widePath(const std::string& path) {
    wchar_t wide[MAX_PATH] = {};
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH - 1);
    return L"\\\\?\\" + std::wstring(wide);
}

// Wide, so that folders named outside the code page go too.
void removeTree(const std::wstring& folder) {
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW((folder + L"*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = entry.cFileName;
            if (name == L"." || name == L"..") continue;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                removeTree(folder + name + L"\\");
            else
                DeleteFileW((folder + name).c_str());
        } while (FindNextFileW(search, &entry));
        FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
}
}  // namespace

void removeTree(const std::string& folder) { removeTree(widePath(folder)); }

Installation::Installation(const char* currentWorld) {
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    static int made = 0;
    for (;;) {
        char name[64];
        snprintf(name, sizeof name, "zorv-%lu-%d\\", GetCurrentProcessId(), ++made);
        dir_ = std::string(temp) + name;
        if (CreateDirectoryA(dir_.c_str(), nullptr) || GetLastError() != ERROR_ALREADY_EXISTS) break;
        removeTree(dir_);  // left behind by a run that was killed
        if (CreateDirectoryA(dir_.c_str(), nullptr)) break;
    }
    reg::setString("", "MainDir", dir_.c_str());
    if (!currentWorld) return;
    addWorld(currentWorld);
    setCurrentWorld(currentWorld);
}

Installation::~Installation() { removeTree(dir_); }

void Installation::addWorld(const char* name, bool withMovie) {
    const std::string world = std::string("Desktops\\") + name;
    addFolder(world);
    if (withMovie) addFile((world + "\\" + name + ".dcr").c_str());
    reg::createKey(name);
}

// Parents only when missing: a 0x5C byte in a folder's name may be half of a character.
void Installation::addFolder(const std::string& relative) {
    const size_t parent = relative.rfind('\\');
    if (CreateDirectoryA((dir_ + relative).c_str(), nullptr) || GetLastError() != ERROR_PATH_NOT_FOUND ||
        parent == std::string::npos)
        return;
    addFolder(relative.substr(0, parent));
    CreateDirectoryA((dir_ + relative).c_str(), nullptr);
}

void Installation::addFile(const char* relative) {
    HANDLE file = CreateFileA((dir_ + relative).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
}

bool Installation::addFolder(const std::wstring& relative) {
    return CreateDirectoryW((widePath(dir_) + relative).c_str(), nullptr);
}

bool Installation::addFile(const std::wstring& relative) {
    HANDLE file =
        CreateFileW((widePath(dir_) + relative).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
}

void Installation::setCurrentWorld(const char* name) { reg::setString("", "CurrMovie", name); }
