#include "Plugin.h"

#include <cctype>
#include <cstdio>
#include <cstring>

namespace {
enum Ordinal { kScoreOrdinal = 1, kStartOrdinal = 2, kStopOrdinal = 3 };

template <typename Function>
Function entryPoint(HMODULE module, int ordinal) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, MAKEINTRESOURCEA(ordinal))));
}
}  // namespace

Plugin::~Plugin() {
    if (module_) FreeLibrary(module_);
}

bool Plugin::load(const char* nameOrPath) {
    char file[MAX_PATH];
    const bool bare = !strpbrk(nameOrPath, "\\/:.");
    snprintf(file, sizeof file, bare ? "%s.dll" : "%s", nameOrPath);

    module_ = LoadLibraryA(file);
    if (!module_) {
        snprintf(error_, sizeof error_, "Cannot load %s (error %lu).", file, GetLastError());
        return false;
    }
    start_ = entryPoint<StartEntry>(module_, kStartOrdinal);
    score_ = entryPoint<ScoreEntry>(module_, kScoreOrdinal);
    stop_ = entryPoint<StopEntry>(module_, kStopOrdinal);
    if (!start_ || !score_ || !stop_) {
        snprintf(error_, sizeof error_, "%s does not export the entry points 1, 2 and 3.", file);
        FreeLibrary(module_);
        module_ = nullptr;
        return false;
    }

    const char* base = file;
    for (const char* c = file; *c; ++c)
        if (*c == '\\' || *c == '/' || *c == ':') base = c + 1;
    snprintf(title_, sizeof title_, "%s", base);
    if (char* extension = strrchr(title_, '.')) *extension = '\0';
    for (char* c = title_; *c; ++c) *c = static_cast<char>(c == title_ ? toupper(*c) : tolower(*c));
    return true;
}

bool Plugin::start(char* startString) const { return start_(startString, 0); }

int Plugin::score(char* scoreString) const { return score_(scoreString, 0); }

bool Plugin::stop() const { return stop_(); }

void buildScoreString(const char* startString, int score, int level, char* scoreString) {
    const int modeLength = static_cast<int>(strcspn(startString, "*"));
    snprintf(scoreString, kHostBufferSize, "%.*s*%i*%i", modeLength, startString, score, level);
}
