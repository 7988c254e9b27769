#pragma once
// A new bitmap with a drawing context on it, for drawing a picture scaled.

#include <windows.h>

#include <gdiplus.h>

#include "render/GdiplusOwners.h"

// Members in this order so that the context goes before the bitmap it draws on.
struct GdiplusCanvas {
    UniqueGdipBitmap bitmap;
    UniqueGdipGraphics graphics;

    explicit operator bool() const noexcept { return bitmap && graphics; }
};

// A width x height bitmap in the given pixel format, with a drawing context in GDI+'s default
// modes. GDI+ draws on no palette format and on few others, so when it gives no context for
// format, the canvas is made in 24-bit RGB instead. Empty when neither works.
GdiplusCanvas CreateCanvas(int width, int height, Gdiplus::PixelFormat format) noexcept;
