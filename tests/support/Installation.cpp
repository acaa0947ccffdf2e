#include "Installation.h"

#include <windows.h>

#include <cstdio>

void removeTree(const std::string& folder) {
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((folder + "*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = entry.cFileName;
            if (name == "." || name == "..") continue;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                removeTree(folder + name + "\\");
            else
                DeleteFileA((folder + name).c_str());
        } while (FindNextFileA(search, &entry));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}

Installation::Installation() {
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    static int made = 0;
    for (;;) {
        char name[64];
        snprintf(name, sizeof name, "zorv-%lu-%d\\", GetCurrentProcessId(), ++made);
        dir_ = std::string(temp) + name;
        if (CreateDirectoryA(dir_.c_str(), nullptr)) break;
        if (GetLastError() != ERROR_ALREADY_EXISTS) break;
        removeTree(dir_);  // left behind by a run that was killed
        if (CreateDirectoryA(dir_.c_str(), nullptr)) break;
    }
    reg::setString("", "MainDir", dir_.c_str());
}

Installation::~Installation() { removeTree(dir_); }

void Installation::addWorld(const char* name, bool withMovie) {
    CreateDirectoryA((dir_ + "Desktops").c_str(), nullptr);
    const std::string world = std::string("Desktops\\") + name;
    addFolder(world.c_str());
    if (withMovie) addFile((world + "\\" + name + ".dcr").c_str());
    reg::createKey(name);
}

void Installation::addFolder(const char* relative) { CreateDirectoryA((dir_ + relative).c_str(), nullptr); }

void Installation::addFile(const char* relative) {
    HANDLE file = CreateFileA((dir_ + relative).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
}

void Installation::setCurrentWorld(const char* name) { reg::setString("", "CurrMovie", name); }
