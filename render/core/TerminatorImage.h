#pragma once
// 32-bit ARGB pixel buffers as the terminator blend sees them: rows top-down, each row exactly
// width pixels long, 0xAARRGGBB with straight (not premultiplied) alpha.

#include <climits>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "render/core/PixelView.h"

struct ConstArgbImage {
    const std::uint32_t* pixels = nullptr;
    std::uint32_t width = 0;
    std::uint32_t height = 0;

    const std::uint32_t* Row(std::uint32_t row) const {
        return pixels + static_cast<std::size_t>(row) * width;
    }
    operator ConstPixelView() const {
        return {reinterpret_cast<const std::uint8_t*>(pixels), width, height,
                static_cast<std::ptrdiff_t>(width) * 4, 4};
    }
};

struct ArgbImage {
    std::uint32_t* pixels = nullptr;
    std::uint32_t width = 0;
    std::uint32_t height = 0;

    std::uint32_t* Row(std::uint32_t row) const {
        return pixels + static_cast<std::size_t>(row) * width;
    }
    operator ConstArgbImage() const { return {pixels, width, height}; }
    operator PixelView() const {
        return {reinterpret_cast<std::uint8_t*>(pixels), width, height,
                static_cast<std::ptrdiff_t>(width) * 4, 4};
    }
    operator ConstPixelView() const { return PixelView(*this); }
};

// The pixel count of a width x height ARGB buffer, or nothing when its rows or its total size
// would not fit: a row's byte stride must be a positive int (GDI+ takes it as one) and the
// whole buffer must be addressable.
inline std::optional<std::size_t> ArgbPixelCount(std::uint32_t width, std::uint32_t height) {
    constexpr std::uint64_t kBytesPerPixel = 4;
    if (width == 0 || height == 0 || width > INT_MAX / kBytesPerPixel || height > INT_MAX) {
        return std::nullopt;
    }
    const std::uint64_t pixels = std::uint64_t{width} * height;
    if (pixels > PTRDIFF_MAX / kBytesPerPixel || pixels > SIZE_MAX / kBytesPerPixel) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(pixels);
}
