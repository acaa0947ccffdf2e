#pragma once

#include <windows.h>

// A bold copy of the control's font, the caller's to delete; null when the control has none.
HFONT createBoldFont(HWND control);
