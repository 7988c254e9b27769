#pragma once
// A GDI+ bitmap's pixels held in memory while the object lives. Formats the caller can work on
// as they are stay in the bitmap's own memory (no copy); any other is converted to 32-bit ARGB,
// and written back on unlocking when the lock allows writing.

#include <windows.h>

#include <gdiplus.h>

#include <initializer_list>

#include "render/core/PixelView.h"

class LockedBitmap {
public:
    // Locks the top-left width x height pixels (the whole bitmap when width or height is 0).
    LockedBitmap(Gdiplus::GpBitmap* bitmap, Gdiplus::ImageLockMode mode,
                 std::initializer_list<Gdiplus::PixelFormat> ownFormats, UINT width = 0,
                 UINT height = 0) noexcept;
    ~LockedBitmap();
    LockedBitmap(const LockedBitmap&) = delete;
    LockedBitmap& operator=(const LockedBitmap&) = delete;

    explicit operator bool() const noexcept { return bitmap != nullptr; }
    PixelView Pixels() const noexcept;
    Gdiplus::PixelFormat Format() const noexcept { return data.PixelFormat; }

private:
    Gdiplus::GpBitmap* bitmap = nullptr; // null when not locked
    Gdiplus::BitmapData data{};
};

// The size of a bitmap, or 0 x 0 when GDI+ cannot tell it.
struct BitmapSize {
    UINT width = 0;
    UINT height = 0;
};
BitmapSize SizeOfBitmap(Gdiplus::GpImage* image) noexcept;
