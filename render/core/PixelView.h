#pragma once
// Pixels in memory as GDI+ lays them out for its 24- and 32-bit formats: rows `stride` bytes
// apart (negative for bottom-up bitmaps), each pixel blue, green, red and, with four bytes,
// alpha. Views own nothing.

#include <cstddef>
#include <cstdint>
#include <cstring>

template <typename Byte> struct BasicPixelView {
    Byte* data = nullptr;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::ptrdiff_t stride = 0;
    std::uint32_t bytesPerPixel = 4; // 3 or 4

    Byte* Row(std::uint32_t row) const { return data + static_cast<std::ptrdiff_t>(row) * stride; }
    operator BasicPixelView<const std::uint8_t>() const {
        return {data, width, height, stride, bytesPerPixel};
    }
};
using PixelView = BasicPixelView<std::uint8_t>;
using ConstPixelView = BasicPixelView<const std::uint8_t>;

// One pixel as 0xAARRGGBB; three-byte pixels are opaque.
template <std::uint32_t Bytes> inline std::uint32_t LoadArgb(const std::uint8_t* pixel) {
    if constexpr (Bytes == 4) {
        std::uint32_t value;
        std::memcpy(&value, pixel, 4);
        return value;
    } else {
        return 0xFF000000u | std::uint32_t{pixel[0]} | std::uint32_t{pixel[1]} << 8 |
               std::uint32_t{pixel[2]} << 16;
    }
}

// Stores 0xAARRGGBB; three-byte pixels drop the alpha.
template <std::uint32_t Bytes> inline void StoreArgb(std::uint8_t* pixel, std::uint32_t value) {
    if constexpr (Bytes == 4) {
        std::memcpy(pixel, &value, 4);
    } else {
        pixel[0] = static_cast<std::uint8_t>(value);
        pixel[1] = static_cast<std::uint8_t>(value >> 8);
        pixel[2] = static_cast<std::uint8_t>(value >> 16);
    }
}
