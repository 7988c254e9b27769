#pragma once
// Reads what a window shows on the screen, for checks of pictures drawn by another process.

#include <windows.h>

namespace program_test {

// How many pixels of the window's area on the screen are a strong red, the colour of the check
// mark on a selected style's thumbnail. -1 when the screen cannot be read.
int CountRedPixels(HWND window);

} // namespace program_test
