#include "render/core/Resampler.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "render/core/ResampleFilter.h"

namespace {

int WrapColumn(std::int64_t column, int width) {
    const std::int64_t remainder = column % width;
    return static_cast<int>(remainder < 0 ? remainder + width : remainder);
}

bool Fits(ConstPixelView map, const DrawPiece& piece, PixelView output) {
    const PixelRect& to = piece.destination;
    return map.data != nullptr && map.width > 0 && map.height > 0 &&
           (map.bytesPerPixel == 3 || map.bytesPerPixel == 4) &&
           output.bytesPerPixel == map.bytesPerPixel && to.x >= 0 && to.y >= 0 &&
           std::int64_t{to.x} + to.width <= output.width &&
           std::int64_t{to.y} + to.height <= output.height;
}

// The vertical pass for one destination row: `count` map columns from `column` on, running on
// round the map's right edge, each the weighted sum of the given rows. The inner loops run over
// contiguous bytes, which the compiler turns into vector code.
void FilterColumns(ConstPixelView map, int column, int count, const int* rows, const float* weights,
                   int taps, float* sums) {
    const int bytesPerPixel = static_cast<int>(map.bytesPerPixel);
    std::fill_n(sums, static_cast<std::size_t>(count) * bytesPerPixel, 0.0f);
    while (count > 0) {
        const int run = std::min(count, static_cast<int>(map.width) - column);
        const std::size_t values = static_cast<std::size_t>(run) * bytesPerPixel;
        for (int tap = 0; tap < taps; ++tap) {
            const float weight = weights[tap];
            if (weight == 0) {
                continue; // the padding of a shrinking filter
            }
            const std::uint8_t* source =
                map.Row(rows[tap]) + static_cast<std::size_t>(column) * bytesPerPixel;
            for (std::size_t i = 0; i < values; ++i) {
                sums[i] += weight * source[i];
            }
        }
        sums += values;
        count -= run;
        column = 0;
    }
}

// The horizontal pass: each destination pixel of the row from its taps of the column sums,
// rounded and clamped, since an interpolating cubic overshoots near hard edges.
template <int kChannels>
void FilterRow(const float* sums, const FilterTable& table, std::uint8_t* out) {
    const int base = table.first.front();
    const int width = static_cast<int>(table.first.size());
    for (int pixel = 0; pixel < width; ++pixel) {
        const float* from = sums + static_cast<std::size_t>(table.first[pixel] - base) * kChannels;
        const float* weights = &table.weights[static_cast<std::size_t>(pixel) * table.taps];
        float total[kChannels] = {};
        for (int tap = 0; tap < table.taps; ++tap) {
            for (int channel = 0; channel < kChannels; ++channel) {
                total[channel] += weights[tap] * from[tap * kChannels + channel];
            }
        }
        for (int channel = 0; channel < kChannels; ++channel) {
            out[pixel * kChannels + channel] =
                static_cast<std::uint8_t>(std::clamp(total[channel] + 0.5f, 0.0f, 255.0f));
        }
    }
}

} // namespace

bool ResamplePieceRows(ConstPixelView map, const DrawPiece& piece, int firstRow, int endRow,
                       PixelView output, const std::function<bool()>& stopRequested) {
    if (!Fits(map, piece, output)) {
        return false;
    }
    const PixelRect& from = piece.source;
    const PixelRect& to = piece.destination;
    if (from.width <= 0 || from.height <= 0 || to.width <= 0 || to.height <= 0) {
        return true;
    }
    const FilterTable across = MakeFilterTable(from.width, to.width);
    const FilterTable down = MakeFilterTable(from.height, to.height);
    // The map columns that the destination row draws on, from its first pixel's first tap to
    // its last pixel's last.
    const int firstColumn = WrapColumn(std::int64_t{from.x} + across.first.front(), map.width);
    const int columns = across.first.back() - across.first.front() + across.taps;
    std::vector<float> sums(static_cast<std::size_t>(columns) * map.bytesPerPixel);
    std::vector<int> rows(static_cast<std::size_t>(down.taps));

    firstRow = std::max(firstRow, 0);
    endRow = std::min(endRow, to.height);
    for (int row = firstRow; row < endRow; ++row) {
        if ((row - firstRow) % kResampleStripRows == 0 && stopRequested && stopRequested()) {
            return false;
        }
        for (int tap = 0; tap < down.taps; ++tap) {
            const std::int64_t mapRow = std::int64_t{from.y} + down.first[row] + tap;
            rows[tap] = static_cast<int>(std::clamp<std::int64_t>(mapRow, 0, map.height - 1));
        }
        FilterColumns(map, firstColumn, columns, rows.data(),
                      &down.weights[static_cast<std::size_t>(row) * down.taps], down.taps,
                      sums.data());
        std::uint8_t* out =
            output.Row(to.y + row) + static_cast<std::size_t>(to.x) * output.bytesPerPixel;
        if (map.bytesPerPixel == 3) {
            FilterRow<3>(sums.data(), across, out);
        } else {
            FilterRow<4>(sums.data(), across, out);
        }
    }
    return true;
}

bool ResamplePiece(ConstPixelView map, const DrawPiece& piece, PixelView output,
                   const std::function<bool()>& stopRequested) {
    return ResamplePieceRows(map, piece, 0, piece.destination.height, output, stopRequested);
}

bool ResampleWallpaper(ConstPixelView map, const WallpaperGeometry& geometry, PixelView output,
                       const std::function<bool()>& stopRequested) {
    for (const DrawPiece& piece : geometry.pieces) {
        if (!ResamplePiece(map, piece, output, stopRequested)) {
            return false;
        }
    }
    return true;
}
