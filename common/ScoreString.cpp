#include "ScoreString.h"

#include <cstdlib>
#include <cstring>

void splitScoreString(char* scoreString, CString& mode, int& score, int& level) {
    const char* const separators = "*";
    const char* field = scoreString ? strtok(scoreString, separators) : nullptr;
    mode = field ? field : "";
    field = field ? strtok(nullptr, separators) : nullptr;
    score = field ? atoi(field) : 0;
    field = field ? strtok(nullptr, separators) : nullptr;
    level = field ? atoi(field) : 0;
}
