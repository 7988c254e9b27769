#include "render/core/WallpaperGeometry.h"

#include <algorithm>
#include <climits>

namespace {

// GDI+ bitmaps stay far below this; it keeps every product below exact in a double.
constexpr uint32_t kMaxMapSide = 1u << 24;
constexpr int kMaxScreenSide = 1 << 16;
// One map width per day: the single-precision value of 1/1440.
constexpr float kMapWidthsPerMinute = 1.0f / 1440.0f;

// The i686 build keeps intermediates on the x87 stack in extended precision, and GCC does not
// round them at casts in C++. A store through volatile rounds to the declared width, so both
// Windows builds and the native one truncate the very same values.
float RoundToFloat(double value) {
    volatile float stored = static_cast<float>(value);
    return stored;
}

double RoundToDouble(double value) {
    volatile double stored = value;
    return stored;
}

int64_t Truncate(double value) {
    return static_cast<int64_t>(RoundToDouble(value));
}

// Remainder in 0..modulus-1 for any value, so far-out columns land on the map too.
int64_t WrapColumn(int64_t value, int64_t modulus) {
    const int64_t remainder = value % modulus;
    return remainder < 0 ? remainder + modulus : remainder;
}

} // namespace

std::optional<WallpaperGeometry> ComputeWallpaperGeometry(uint32_t mapWidth, uint32_t mapHeight,
                                                          int noonPixel, int hour, int minute,
                                                          int screenWidth, int screenHeight) {
    if (mapWidth == 0 || mapHeight == 0 || mapWidth > kMaxMapSide || mapHeight > kMaxMapSide) {
        return std::nullopt;
    }
    if (screenWidth <= 0 || screenHeight <= 0 || screenWidth > kMaxScreenSide ||
        screenHeight > kMaxScreenSide) {
        return std::nullopt;
    }
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59) {
        return std::nullopt;
    }
    const int64_t width = mapWidth;
    WallpaperGeometry geometry;

    geometry.pixelsPerMinute =
        RoundToFloat(static_cast<double>(mapWidth) * static_cast<double>(kMapWidthsPerMinute));
    // Seconds play no part: the picture moves by whole minutes.
    const int minutesFromNoon = (hour - 12) * 60 + minute;
    const int64_t offset =
        Truncate(static_cast<double>(minutesFromNoon) * geometry.pixelsPerMinute);
    geometry.noonColumn = static_cast<int>(WrapColumn(int64_t{noonPixel} - offset, width));

    geometry.scale = RoundToFloat(
        RoundToDouble(static_cast<double>(screenHeight) / static_cast<double>(mapHeight)));
    geometry.sourceHeight = static_cast<int>(Truncate(screenHeight / double{geometry.scale}));
    geometry.sourceWidth = Truncate(screenWidth / double{geometry.scale});
    if (geometry.sourceHeight < 1 || geometry.sourceWidth < 1 || geometry.sourceWidth > INT_MAX) {
        return std::nullopt;
    }

    const int64_t left = WrapColumn(geometry.noonColumn - geometry.sourceWidth / 2, width);
    geometry.left = static_cast<int>(left);
    geometry.wraps = left + geometry.sourceWidth >= width;
    geometry.right = static_cast<int>(std::min(left + geometry.sourceWidth, width));

    // A strip wider than the map takes as many copies of it as it needs. Each piece starts at
    // the screen column its first source column scales to; the last piece ends at the screen's
    // right edge, so that no column is left undrawn where the scaled strip falls short of it.
    // Copies of the map narrower than a screen column can't each have a piece: one piece then
    // runs round the map as often as the strip does (the resampler reads round its edges).
    const bool narrow = RoundToDouble(static_cast<double>(width) * geometry.scale) < 1.0;
    int64_t consumed = 0;
    int64_t column = left;
    while (consumed < geometry.sourceWidth) {
        const int64_t count = narrow ? geometry.sourceWidth
                                     : std::min(width - column, geometry.sourceWidth - consumed);
        const int64_t destinationLeft = Truncate(static_cast<double>(consumed) * geometry.scale);
        consumed += count;
        const bool last = consumed == geometry.sourceWidth;
        const int64_t destinationRight =
            last ? screenWidth : Truncate(static_cast<double>(consumed) * geometry.scale);
        DrawPiece piece;
        piece.source = {static_cast<int>(column), 0, static_cast<int>(count),
                        geometry.sourceHeight};
        piece.destination = {static_cast<int>(destinationLeft), 0,
                             static_cast<int>(destinationRight - destinationLeft), screenHeight};
        geometry.pieces.push_back(piece);
        column = 0;
    }
    return geometry;
}
