#pragma once
// Loading a picture file as a GDI+ bitmap.

#include <string>

#include "render/GdiplusOwners.h"

// Decodes the file with its embedded colour profile applied. Returns an empty owner when the
// file is missing or is not a picture GDI+ can read.
UniqueGdipBitmap LoadBitmapFromFile(const std::wstring& path) noexcept;
