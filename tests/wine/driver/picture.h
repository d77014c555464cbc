// A picture of a window as the screen shows it, with a small margin of the
// desktop around it, written as a 24-bit BMP file.
#pragma once

#include <windows.h>

bool WritePicture(HWND window, const char *path);
