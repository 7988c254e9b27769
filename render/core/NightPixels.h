#pragma once
// Where the day-and-night blend reads its night pixels from. The blend walks the map in strips
// of columns and reads, in each, one area of the night image: the whole night image may be in
// memory, or only those areas.

#include <cstdint>

#include "render/core/PixelView.h"

// Columns [firstColumn, endColumn) of rows [firstRow, endRow) of a picture.
struct PixelArea {
    std::uint32_t firstColumn = 0;
    std::uint32_t endColumn = 0;
    std::uint32_t firstRow = 0;
    std::uint32_t endRow = 0;

    friend bool operator==(const PixelArea&, const PixelArea&) = default;
};

class NightPixels {
public:
    NightPixels(std::uint32_t width, std::uint32_t height, std::uint32_t bytesPerPixel)
        : width(width), height(height), bytesPerPixel(bytesPerPixel) {}

    // The area's pixels, its first row and column at row 0 and column 0 of the view; a view
    // without data when they are not at hand.
    virtual ConstPixelView Area(const PixelArea& area) const = 0;

    // The night image's size, and bytes a pixel of the views (3 or 4).
    const std::uint32_t width;
    const std::uint32_t height;
    const std::uint32_t bytesPerPixel;

protected:
    ~NightPixels() = default;
};
