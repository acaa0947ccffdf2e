// The host's registry key and installation directory.
#pragma once

#include <windows.h>

#include "CString.h"
#include "Handles.h"

// Opens HKLM\SOFTWARE\ZORV afresh with the rights given, or, where those are refused and a
// fallback is given, with the fallback's; the key is the caller's. Empty on failure.
RegKey openHostKey(REGSAM rights, REGSAM fallback = 0);

// The installation directory, ending in one backslash, into a buffer of at least 260 bytes.
// On false the buffer's content is not to be used.
bool getInstallDir(char* directory);
// As above; on false the string keeps what it held.
bool getInstallDir(CString& directory);
