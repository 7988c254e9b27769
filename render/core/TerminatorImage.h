#pragma once
// 32-bit ARGB pixel buffers as the terminator blend sees them: rows top-down, each row exactly
// width pixels long, 0xAARRGGBB with straight (not premultiplied) alpha.

#include <cstddef>
#include <cstdint>

struct ConstArgbImage {
    const std::uint32_t* pixels = nullptr;
    std::uint32_t width = 0;
    std::uint32_t height = 0;

    const std::uint32_t* Row(std::uint32_t row) const {
        return pixels + static_cast<std::size_t>(row) * width;
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
};
