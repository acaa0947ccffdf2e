// The host's current world, repaired when it names no installed world, and the values kept
// under its registry key.
#pragma once

#include <windows.h>

#include "Handles.h"

// Leaves the current world's name in a 260-byte buffer (untouched when the host's settings
// cannot be read).
void getCurrentWorld(char* world);

// The current world's key, the caller's. With no world installed the name is empty, and the key
// is the host key itself. Empty when the host's settings cannot be read, so that no world could
// be resolved at all, and when the world has no key.
RegKey openWorldKey();

// Always leaves a terminated text in the buffer: the value, or empty when it cannot be read or
// leaves no room for the terminator. Does nothing without a name, a buffer or a size.
// False when the empty text stands for something that is stored (a value too long for the
// buffer, or one the store would not give); a missing value is known to read as empty.
bool readWorldValue(const char* name, char* buffer, DWORD size);
// Stores the text as REG_SZ without its terminator; tells the user when the store refuses.
// False when the text was not stored.
bool writeWorldValue(const char* name, const char* text);
