#include "render/core/CompactNight.h"

#include <algorithm>
#include <new>

namespace {

std::uint32_t AreaWidth(const PixelArea& area) {
    return area.endColumn - area.firstColumn;
}

} // namespace

CompactNight::CompactNight(std::span<const PixelArea> areas, std::uint32_t width,
                           std::uint32_t height, std::uint32_t bytesPerPixel)
    : NightPixels(width, height, bytesPerPixel), areas(areas.begin(), areas.end()) {
    offsets.reserve(areas.size() + 1);
    std::uint64_t total = 0;
    offsets.push_back(0);
    for (const PixelArea& area : areas) {
        if (area.firstColumn > area.endColumn || area.endColumn > width ||
            area.firstRow > area.endRow || area.endRow > height) {
            throw std::bad_alloc();
        }
        // Each term is below 2^32 * 2^32 * 4 only in theory; the running total is checked
        // against what memory can hold before it can wrap.
        total += std::uint64_t{AreaWidth(area)} * (area.endRow - area.firstRow) * bytesPerPixel;
        if (total > PTRDIFF_MAX || total > SIZE_MAX) {
            throw std::bad_alloc();
        }
        offsets.push_back(static_cast<std::size_t>(total));
    }
    bytes.resize(offsets.back());
}

template <typename Byte>
BasicPixelView<Byte> CompactNight::ViewOf(std::size_t index, Byte* base) const {
    const PixelArea& area = areas.at(index);
    return {base + offsets[index], AreaWidth(area), area.endRow - area.firstRow,
            static_cast<std::ptrdiff_t>(AreaWidth(area) * bytesPerPixel), bytesPerPixel};
}

PixelView CompactNight::AreaPixels(std::size_t index) {
    return ViewOf(index, bytes.data());
}

std::span<std::uint8_t> CompactNight::BytesFrom(std::size_t index) {
    const std::size_t first = offsets.at(std::min(index, areas.size()));
    return {bytes.data() + first, bytes.size() - first};
}

ConstPixelView CompactNight::Area(const PixelArea& area) const {
    // The blend asks for the areas in the order they were listed in.
    const auto found = std::lower_bound(
        areas.begin(), areas.end(), area,
        [](const PixelArea& a, const PixelArea& b) { return a.firstColumn < b.firstColumn; });
    if (found == areas.end() || *found != area) {
        return {};
    }
    return ViewOf(static_cast<std::size_t>(found - areas.begin()), bytes.data());
}
