// Before any C++ header, which would swap msvcrt's printf family for the compiler runtime's.
#include <stdio.h>

#include "Plugin.h"

#include <cctype>
#include <cstring>
#include <string>
#include <vector>

namespace {
// A text of the DLL's version resource, in its first language; empty when there is none.
std::string versionText(const std::vector<char>& info, const char* name) {
    struct Language {
        WORD language, codePage;
    }* language = nullptr;
    UINT size = 0;
    if (!VerQueryValueA(info.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&language), &size) ||
        size < sizeof *language)
        return "";
    char path[96];
    snprintf(path, sizeof path, "\\StringFileInfo\\%04x%04x\\%s", language->language, language->codePage, name);
    char* text = nullptr;
    if (!VerQueryValueA(info.data(), path, reinterpret_cast<void**>(&text), &size) || !size) return "";
    return text;
}

}  // namespace

Plugin::~Plugin() {
    if (module) FreeLibrary(module);
}

bool Plugin::load(const char* nameOrPath) {
    char file[MAX_PATH];
    const bool bare = !strpbrk(nameOrPath, "\\/:.");
    snprintf(file, sizeof file, bare ? "%s.dll" : "%s", nameOrPath);

    module = LoadLibraryA(file);
    if (!module) {
        snprintf(error_, sizeof error_, "Cannot load %s (error %lu).", file, GetLastError());
        return false;
    }
    start = exportOf<StartEntryPoint>(module, MAKEINTRESOURCEA(kStartOrdinal));
    score = exportOf<ScoreEntryPoint>(module, MAKEINTRESOURCEA(kScoreOrdinal));
    stop = exportOf<StopEntryPoint>(module, MAKEINTRESOURCEA(kStopOrdinal));
    if (!start || !score || !stop) {
        snprintf(error_, sizeof error_, "%s does not export the entry points 1, 2 and 3.", file);
        FreeLibrary(module);
        module = nullptr;
        return false;
    }

    const char* base = file;
    // By characters: a two-byte character's second byte may be 0x5C.
    for (const char* c = file; *c; c = CharNextA(c))
        if (*c == '\\' || *c == '/' || *c == ':') base = c + 1;
    snprintf(title_, sizeof title_, "%s", base);
    if (char* extension = strrchr(title_, '.')) *extension = '\0';
    for (char* c = title_; *c; c = CharNextA(c))
        if (!IsDBCSLeadByte(static_cast<BYTE>(*c))) *c = static_cast<char>(c == title_ ? toupper(*c) : tolower(*c));

    char path[MAX_PATH] = {};
    GetModuleFileNameA(module, path, sizeof path);
    std::vector<char> info(GetFileVersionInfoSizeA(path, nullptr));
    if (!info.empty() && GetFileVersionInfoA(path, 0, static_cast<DWORD>(info.size()), info.data()))
        snprintf(about_, sizeof about_, "%s: %s, version %s", path, versionText(info, "FileDescription").c_str(),
                 versionText(info, "FileVersion").c_str());
    else
        snprintf(about_, sizeof about_, "%s: no version information", path);
    return true;
}

void buildScoreString(const char* startString, int score, int level, char* scoreString) {
    const int modeLength = static_cast<int>(strcspn(startString, "*"));
    snprintf(scoreString, kHostBufferSize, "%.*s*%i*%i", modeLength, startString, score, level);
}
