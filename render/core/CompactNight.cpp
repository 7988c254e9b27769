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
    offsets.push_back(0);
    std::size_t total = 0;
    for (const PixelArea& area : areas) {
        if (area.firstColumn > area.endColumn || area.endColumn > width ||
            area.firstRow > area.endRow || area.endRow > height) {
            throw std::bad_alloc();
        }
        const std::uint64_t rows = area.endRow - area.firstRow;
        const std::uint64_t rowBytes = std::uint64_t{AreaWidth(area)} * bytesPerPixel;
        const std::uint64_t room = PTRDIFF_MAX - total;
        if (rows != 0 && rowBytes > room / rows) {
            throw std::bad_alloc();
        }
        total += static_cast<std::size_t>(rowBytes * rows);
        offsets.push_back(total);
    }
    // Not zeroed: every byte is copied in before it is read, and its page is first written then.
    bytes = std::make_unique_for_overwrite<std::uint8_t[]>(total);
}

template <typename Byte>
BasicPixelView<Byte> CompactNight::ViewOf(std::size_t index, Byte* base) const {
    const PixelArea& area = areas.at(index);
    return {base + offsets[index], AreaWidth(area), area.endRow - area.firstRow,
            static_cast<std::ptrdiff_t>(AreaWidth(area) * bytesPerPixel), bytesPerPixel};
}

PixelView CompactNight::AreaPixels(std::size_t index) {
    return ViewOf(index, bytes.get());
}

std::span<std::uint8_t> CompactNight::BytesFrom(std::size_t index) {
    const std::size_t first = offsets.at(std::min(index, areas.size()));
    return {bytes.get() + first, offsets.back() - first};
}

ConstPixelView CompactNight::Area(const PixelArea& area) const {
    // The blend asks for the areas in the order they were listed in.
    const auto found = std::lower_bound(
        areas.begin(), areas.end(), area,
        [](const PixelArea& a, const PixelArea& b) { return a.firstColumn < b.firstColumn; });
    if (found == areas.end() || *found != area) {
        return {};
    }
    return ViewOf(static_cast<std::size_t>(found - areas.begin()),
                  static_cast<const std::uint8_t*>(bytes.get()));
}
