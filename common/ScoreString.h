#pragma once

#include "CString.h"

// Splits the host's "mode*score*level" in place; a missing field gives an empty mode or 0.
void splitScoreString(char* scoreString, CString& mode, int& score, int& level);
