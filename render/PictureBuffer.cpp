#include "render/PictureBuffer.h"

#include <algorithm>
#include <climits>
#include <new>
#include <span>

#include "render/FirstTouch.h"

PictureBuffer::PictureBuffer(std::uint32_t width, std::uint32_t height, Gdiplus::PixelFormat format,
                             Start start)
    : format(format) {
    const std::uint32_t bytesPerPixel = format == PixelFormat24bppRGB ? 3 : 4;
    if (width > (INT_MAX - 3) / bytesPerPixel || height > INT_MAX) {
        throw std::bad_alloc();
    }
    const std::uint64_t stride = (std::uint64_t{width} * bytesPerPixel + 3) & ~std::uint64_t{3};
    if (height != 0 && stride > PTRDIFF_MAX / height) {
        throw std::bad_alloc();
    }
    // More than the machine's memory could only be paged to death, and the first writes to its
    // pages would begin before a picture that claims such a size turns out to be short.
    const auto size = static_cast<std::size_t>(stride * height);
    MEMORYSTATUSEX memory{};
    memory.dwLength = sizeof memory;
    if (GlobalMemoryStatusEx(&memory) && size > memory.ullTotalPhys) {
        throw std::bad_alloc();
    }
    // Pixels that are about to be overwritten are not zeroed first: at a large map's size that
    // is a pass over a hundred megabytes for nothing.
    bytes = std::make_unique_for_overwrite<std::uint8_t[]>(size);
    if (start == Start::zeroed) {
        // What a new bitmap starts with, written by two threads (see FirstTouch.h).
        const std::span<std::uint8_t> all(bytes.get(), size);
        WhileTouching(all.subspan(size / 2),
                      [&] { std::fill(all.begin(), all.begin() + size / 2, std::uint8_t{0}); });
        std::fill(all.begin() + size / 2, all.end(), std::uint8_t{0});
    }
    view = {bytes.get(), width, height, static_cast<std::ptrdiff_t>(stride), bytesPerPixel};
    Gdiplus::DllExports::GdipCreateBitmapFromScan0(
        static_cast<INT>(width), static_cast<INT>(height), static_cast<INT>(stride), format,
        bytes.get(), bitmap.put());
}
