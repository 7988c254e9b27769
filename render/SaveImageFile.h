#pragma once
// Writing a GDI+ image so that the file at the destination is never half-written.

#include <windows.h>

#include <gdiplus.h>

#include <string>

// Encodes image with encoder into a temporary file in path's folder, then moves it over path.
// On any failure the temporary file is removed and whatever was at path stays as it was.
// Returns true when the new file is in place.
bool SaveImageReplacing(Gdiplus::GpImage* image, const std::wstring& path,
                        const CLSID& encoder) noexcept;
