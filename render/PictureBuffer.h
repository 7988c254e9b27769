#pragma once
// A picture's pixels in memory the program owns, 24 or 32 bits a pixel in rows padded to four
// bytes as bitmaps keep them, and a GDI+ bitmap over them for locking and saving.

#include <windows.h>

#include <gdiplus.h>

#include <cstdint>
#include <memory>

#include "render/GdiplusOwners.h"
#include "render/core/PixelView.h"

class PictureBuffer {
public:
    enum class Start { zeroed, toBeOverwritten };

    // Throws std::bad_alloc when the pixels don't fit in memory or a row's bytes don't fit in an
    // int.
    PictureBuffer(std::uint32_t width, std::uint32_t height, Gdiplus::PixelFormat format,
                  Start start = Start::zeroed);

    PixelView Pixels() const { return view; }
    Gdiplus::PixelFormat Format() const { return format; }
    // Null when GDI+ could not make the bitmap.
    Gdiplus::GpBitmap* Bitmap() const { return bitmap.get(); }

private:
    std::unique_ptr<std::uint8_t[]> bytes;
    PixelView view;
    Gdiplus::PixelFormat format;
    UniqueGdipBitmap bitmap; // goes before the bytes it reads
};
