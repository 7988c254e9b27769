#include "render/LockedBitmap.h"

#include <climits>
#include <cstdint>

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

BitmapSize SizeOfBitmap(GpImage* image) noexcept {
    BitmapSize size;
    if (GdipGetImageWidth(image, &size.width) != Ok ||
        GdipGetImageHeight(image, &size.height) != Ok) {
        return {};
    }
    return size;
}

LockedBitmap::LockedBitmap(GpBitmap* bitmap, ImageLockMode mode,
                           std::initializer_list<PixelFormat> ownFormats, UINT width,
                           UINT height) noexcept {
    if (bitmap == nullptr) {
        return;
    }
    const BitmapSize size = SizeOfBitmap(bitmap);
    width = width == 0 ? size.width : width;
    height = height == 0 ? size.height : height;
    PixelFormat format = PixelFormatUndefined;
    // Rows of 32-bit pixels must keep their byte count within an int, as GDI+ keeps strides.
    if (width == 0 || height == 0 || width > size.width || height > size.height ||
        width > INT_MAX / 4 || height > INT_MAX || GdipGetImagePixelFormat(bitmap, &format) != Ok) {
        return;
    }
    PixelFormat lockFormat = PixelFormat32bppARGB;
    for (const PixelFormat own : ownFormats) {
        if (own == format) {
            lockFormat = format;
        }
    }
    Rect area(0, 0, static_cast<INT>(width), static_cast<INT>(height));
    if (GdipBitmapLockBits(bitmap, &area, static_cast<UINT>(mode), lockFormat, &data) != Ok) {
        return;
    }
    // Anything but the layouts asked for, or rows that overlap, is not used.
    const std::int64_t rowBytes = std::int64_t{width} * (lockFormat == PixelFormat24bppRGB ? 3 : 4);
    if (data.PixelFormat != lockFormat || data.Scan0 == nullptr || data.Stride < rowBytes) {
        GdipBitmapUnlockBits(bitmap, &data);
        return;
    }
    this->bitmap = bitmap;
}

LockedBitmap::~LockedBitmap() {
    if (bitmap != nullptr) {
        GdipBitmapUnlockBits(bitmap, &data);
    }
}

PixelView LockedBitmap::Pixels() const noexcept {
    if (bitmap == nullptr) {
        return {};
    }
    return {static_cast<std::uint8_t*>(data.Scan0), data.Width, data.Height, data.Stride,
            data.PixelFormat == PixelFormat24bppRGB ? 3u : 4u};
}
