// The host's current world, repaired when it names no installed world, and the values kept
// under its registry key.
#pragma once

#include <windows.h>

#include "Handles.h"

// Leaves the current world's name in a 260-byte buffer (untouched when the host's settings
// cannot be read).
void getCurrentWorld(char* world);

// The current world's key with the rights given, the caller's. With no world installed the name is
// empty, and the key is the host key itself. Empty when the host's settings cannot be read, so
// that no world could be resolved at all, when the world has no key, and when the user is refused
// the rights (*refused then true, when given).
RegKey openWorldKey(REGSAM rights, bool* refused = nullptr);

// Always leaves a terminated text in the buffer: the value, or empty when it cannot be read or
// leaves no room for the terminator. Does nothing without a name, a buffer or a size.
// False when the empty text stands for something that is stored (a value too long for the
// buffer, or one the store would not give); a missing value is known to read as empty.
bool readWorldValue(const char* name, char* buffer, DWORD size);
enum WriteResult {
    kWritten,
    kNotWritten,
    // The user may not write the world's key, so no other value can be written either.
    kKeyRefused,
};
// Stores the text as REG_SZ without its terminator; tells the user when the store refuses it.
WriteResult writeWorldValue(const char* name, const char* text);
