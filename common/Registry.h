// Keys opened with the rights an operation needs, and values read as text: how every host
// setting and world value is reached. A standard user may read HKEY_LOCAL_MACHINE but not write
// it, and a 64-bit host, or a 32-bit one with a manifest, gets no virtualization to hide that.
#pragma once

#include <windows.h>

#include "Handles.h"

// The subkey opened afresh with the rights asked for; where those are refused and a fallback is
// given, with the fallback's. Empty on failure, with the failure traced and any handle a failed
// open left let go. *refused, when given, tells whether the last open was refused its rights.
RegKey openKey(HKEY parent, const char* subkey, REGSAM rights, const char* failure, REGSAM fallback = 0,
               bool* refused = nullptr);

// A value of any type read as text into the first `limit` bytes of the buffer, up to its first
// zero, and terminated there. One that fills the limit without a zero has no room for its
// terminator: as good as too long, ERROR_MORE_DATA. Otherwise the registry's answer.
LONG readText(HKEY key, const char* name, char* buffer, DWORD limit);
