#pragma once
// The pictures of the style thumbnails, made for the display scale that shows them: a map from
// the program's resources scaled down to the thumbnail's size by the program's own resampler,
// and the chosen style's check mark drawn over it at the same scale.

#include <windows.h>

#include "win/Handles.h"

// A thumbnail's size in pixels at a display scale in dots per inch: 100x50 at 96.
SIZE ThumbnailSize(UINT dpi) noexcept;

// The scale of the monitor the window is on where the system tells it per monitor (Windows 8.1
// on), the system's scale elsewhere.
UINT WindowDpi(HWND window) noexcept;

// The picture in the program's RCDATA resource `map`, a world map that GDI+ decodes, turned half
// round when halfTurned, as a 24-bit bitmap of `size` with the check mark when `checked`. Empty
// when the map cannot be read or the bitmap made. GDI+ must be running.
UniqueBitmap MakeThumbnail(int map, bool halfTurned, SIZE size, bool checked) noexcept;
