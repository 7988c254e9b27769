#pragma once
// Reading a window's text into a string.

#include <windows.h>

#include <string>

// The whole text of the window, or an empty string when it has none or cannot be read.
std::wstring ReadWindowText(HWND window);
