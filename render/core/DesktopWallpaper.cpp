#include "render/core/DesktopWallpaper.h"

#include <algorithm>

namespace {

// The same bound a single screen has, for the picture as a whole.
constexpr int64_t kMaxPictureSide = 1 << 16;

} // namespace

std::optional<DesktopWallpaper> ComputeDesktopWallpaper(uint32_t mapWidth, uint32_t mapHeight,
                                                        int noonPixel, int hour, int minute,
                                                        std::span<const PixelRect> monitors) {
    if (monitors.empty()) {
        return std::nullopt;
    }
    int64_t left = INT64_MAX;
    int64_t top = INT64_MAX;
    int64_t right = INT64_MIN;
    int64_t bottom = INT64_MIN;
    for (const PixelRect& monitor : monitors) {
        left = std::min<int64_t>(left, monitor.x);
        top = std::min<int64_t>(top, monitor.y);
        right = std::max<int64_t>(right, int64_t{monitor.x} + monitor.width);
        bottom = std::max<int64_t>(bottom, int64_t{monitor.y} + monitor.height);
    }
    if (right - left > kMaxPictureSide || bottom - top > kMaxPictureSide) {
        return std::nullopt;
    }
    DesktopWallpaper desktop;
    desktop.bounds = {static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left),
                      static_cast<int>(bottom - top)};
    for (const PixelRect& monitor : monitors) {
        const auto single = ComputeWallpaperGeometry(mapWidth, mapHeight, noonPixel, hour, minute,
                                                     monitor.width, monitor.height);
        if (!single) {
            return std::nullopt;
        }
        for (DrawPiece piece : single->pieces) {
            piece.destination.x += static_cast<int>(monitor.x - left);
            piece.destination.y += static_cast<int>(monitor.y - top);
            desktop.pieces.push_back(piece);
        }
    }
    return desktop;
}
