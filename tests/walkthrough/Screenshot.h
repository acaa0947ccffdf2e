// Pictures of windows as they are on screen.
#pragma once

#include <windows.h>

// The whole window, caption and frame included, as a 24-bit BMP file.
bool saveWindowPicture(HWND window, const char* path);
