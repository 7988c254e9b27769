#pragma once
// Where the map goes on the screen: the noon column in the screen's middle, the map's height
// scaled to the screen's height, and the visible strip cut into pieces where it runs past the
// map's right edge. Pure arithmetic, shared by the composer and its tests.

#include <compare>
#include <cstdint>
#include <optional>
#include <vector>

struct PixelRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    friend auto operator<=>(const PixelRect&, const PixelRect&) = default;
};

// One scaled draw: a rectangle of the map into a rectangle of the screen-sized bitmap.
struct DrawPiece {
    PixelRect source;
    PixelRect destination;

    friend bool operator==(const DrawPiece&, const DrawPiece&) = default;
};

struct WallpaperGeometry {
    float pixelsPerMinute = 0;
    int noonColumn = 0;
    float scale = 0;
    int sourceHeight = 0;
    int64_t sourceWidth = 0;
    int left = 0;
    // End of the first piece's source columns, exclusive; at most the map's width.
    int right = 0;
    bool wraps = false;
    // Left to right across the screen, the last ending at its right edge; pieces with no source
    // columns are left out. A piece's source columns run round the map where it is narrower
    // than a screen column.
    std::vector<DrawPiece> pieces;
};

// The screen's layout for a map of mapWidth x mapHeight whose noon column at 12:00 UTC is
// noonPixel, at UTC hour:minute. Empty when there is nothing sound to draw: a map or screen
// of no size, or one so far out of proportion that the screen would show less than one row or
// column of the map.
std::optional<WallpaperGeometry> ComputeWallpaperGeometry(uint32_t mapWidth, uint32_t mapHeight,
                                                          int noonPixel, int hour, int minute,
                                                          int screenWidth, int screenHeight);
