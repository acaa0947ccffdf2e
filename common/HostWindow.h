// The host's main window, found once per plug-in, and the quit question asked over it.
#pragma once

#include <windows.h>

// The first visible top-level window of this process that has no owner, kept while it still is
// one; else the first top-level window of this process, in enumeration order, looked for again
// at the next call. Null when the process has no top-level window.
HWND findHostWindow();

// Yes/No box over the host window, or over the dialog of ours running on this thread; true
// exactly for Yes.
bool confirmQuit(const char* text, const char* caption);
