// The host's registry key and installation directory.
#pragma once

#include <windows.h>

#include "CString.h"
#include "Handles.h"

// Opens HKLM\SOFTWARE\ZORV with full access, afresh at every call; the key is the caller's.
// Empty on failure.
RegKey openHostKey();

// The installation directory, ending in one backslash, into a buffer of at least 260 bytes.
// On false the buffer's content is not to be used.
bool getInstallDir(char* directory);
// As above; on false the string keeps what it held.
bool getInstallDir(CString& directory);
