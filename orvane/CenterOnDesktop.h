#pragma once

#include <windows.h>

// Moves a top-level window to the middle of the primary monitor, keeping its size.
void centerOnDesktop(HWND window);
