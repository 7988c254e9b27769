#pragma once
// The night pixels a blend reads, and only those: one block of memory holding the areas one after
// the other, each with rows exactly as wide as the area. A night image is as large as the day
// image and about half of it lies on the day side, so this holds about half of it.

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "render/core/NightPixels.h"

class CompactNight final : public NightPixels {
public:
    // Room for the given areas of a width x height night image. Throws std::bad_alloc when they
    // don't fit in memory.
    CompactNight(std::span<const PixelArea> areas, std::uint32_t width, std::uint32_t height,
                 std::uint32_t bytesPerPixel);

    std::span<const PixelArea> Areas() const { return areas; }
    // Where area `index` of the list is to be filled.
    PixelView AreaPixels(std::size_t index);
    // The memory of the areas from index on.
    std::span<std::uint8_t> BytesFrom(std::size_t index);

    ConstPixelView Area(const PixelArea& area) const override;

private:
    template <typename Byte> BasicPixelView<Byte> ViewOf(std::size_t index, Byte* base) const;

    std::vector<PixelArea> areas;     // in column order, as the blend walks them
    std::vector<std::size_t> offsets; // of each area in bytes, and the end of the last
    std::unique_ptr<std::uint8_t[]> bytes;
};
