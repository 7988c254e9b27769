#pragma once
// Non-owning views of 8-bit-per-channel pixel buffers as a bitmap lock hands them out: rows
// `stride` bytes apart (negative for bottom-up bitmaps), 3 or 4 bytes a pixel. The channels
// are not interpreted; each one is treated on its own.

#include <cstddef>
#include <cstdint>

struct ConstPixelView {
    const std::uint8_t* data = nullptr;
    int width = 0;
    int height = 0;
    std::ptrdiff_t stride = 0;
    int bytesPerPixel = 0;

    const std::uint8_t* Row(int row) const { return data + row * stride; }
};

struct PixelView {
    std::uint8_t* data = nullptr;
    int width = 0;
    int height = 0;
    std::ptrdiff_t stride = 0;
    int bytesPerPixel = 0;

    std::uint8_t* Row(int row) const { return data + row * stride; }
    operator ConstPixelView() const { return {data, width, height, stride, bytesPerPixel}; }
};
