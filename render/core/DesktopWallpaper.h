#pragma once
// Where the map goes on a desktop of one or more monitors: one picture over the monitors'
// bounding box, each monitor's rectangle holding what a single screen of that monitor's size
// shows. Pure arithmetic, shared by the composer and its tests.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "render/core/WallpaperGeometry.h"

struct DesktopWallpaper {
    // The bounding box in desktop coordinates: where the picture's top-left corner lies, and
    // its size.
    PixelRect bounds;
    // In picture coordinates, monitor by monitor in the order given.
    std::vector<DrawPiece> pieces;
};

// The layout for monitors given as desktop rectangles. Empty when there is no monitor, or
// when any monitor, or the bounding box, has nothing sound to draw (see
// ComputeWallpaperGeometry).
std::optional<DesktopWallpaper> ComputeDesktopWallpaper(uint32_t mapWidth, uint32_t mapHeight,
                                                        int noonPixel, int hour, int minute,
                                                        std::span<const PixelRect> monitors);
