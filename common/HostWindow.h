// The host's main window, found once per plug-in, and the quit question asked over it.
#pragma once

#include <windows.h>

// The first top-level window of this process in enumeration order, kept while it is still a
// window of this process; null when there is none.
HWND findHostWindow();

// Yes/No box over the host window; true exactly for Yes.
bool confirmQuit(const char* text, const char* caption);
