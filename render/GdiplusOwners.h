#pragma once
// Owners for the GDI+ flat-API objects the program creates. Each releases its object through
// the flat function that matches how it was made.

#include <windows.h>

#include <gdiplus.h>

#include "win/Unique.h"

// Images and bitmaps alike are released by GdipDisposeImage.
template <typename GpType> struct GdipImageTraits {
    using Handle = GpType*;
    static Handle invalid() noexcept { return nullptr; }
    static void close(Handle image) noexcept { Gdiplus::DllExports::GdipDisposeImage(image); }
};
using UniqueGdipImage = Unique<GdipImageTraits<Gdiplus::GpImage>>;
using UniqueGdipBitmap = Unique<GdipImageTraits<Gdiplus::GpBitmap>>;

struct GdipGraphicsTraits {
    using Handle = Gdiplus::GpGraphics*;
    static Handle invalid() noexcept { return nullptr; }
    static void close(Handle graphics) noexcept {
        Gdiplus::DllExports::GdipDeleteGraphics(graphics);
    }
};
using UniqueGdipGraphics = Unique<GdipGraphicsTraits>;

struct GdipPenTraits {
    using Handle = Gdiplus::GpPen*;
    static Handle invalid() noexcept { return nullptr; }
    static void close(Handle pen) noexcept { Gdiplus::DllExports::GdipDeletePen(pen); }
};
using UniqueGdipPen = Unique<GdipPenTraits>;
