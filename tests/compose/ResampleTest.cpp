#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <random>
#include <vector>

#include "render/core/Resampler.h"

namespace {

// A pixel buffer whose rows carry a few bytes of padding, which must stay untouched too.
struct Image {
    // Random bytes, padding included.
    Image(int width, int height, int bytesPerPixel, std::mt19937& random)
        : width(width), height(height), bytesPerPixel(bytesPerPixel),
          stride(width * bytesPerPixel + 3), bytes(static_cast<size_t>(stride) * height) {
        std::generate(bytes.begin(), bytes.end(), [&random] { return random() & 0xFF; });
    }
    PixelView View() {
        return {bytes.data(), static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height),
                stride, static_cast<std::uint32_t>(bytesPerPixel)};
    }
    size_t Index(int x, int y, int channel) const {
        return static_cast<size_t>(y) * stride + x * bytesPerPixel + channel;
    }
    int width, height, bytesPerPixel, stride;
    std::vector<std::uint8_t> bytes;
};

// The weight of source pixel `at` for destination pixel `pixel` along one axis, from the filter's
// definition: shrinking, the share of the destination pixel's footprint that the source pixel
// covers; enlarging, the Catmull-Rom cubic of the distance between their centres.
double Weight(int sourceLength, int destinationLength, int pixel, int at) {
    const double step = static_cast<double>(sourceLength) / destinationLength;
    if (step >= 1) {
        return std::max(0.0,
                        std::min((pixel + 1) * step, at + 1.0) - std::max(pixel * step, at + 0.0)) /
               step;
    }
    const double d = std::abs(at + 0.5 - (pixel + 0.5) * step);
    return d < 1   ? 1 - 2.5 * d * d + 1.5 * d * d * d
           : d < 2 ? 2 - 4 * d + 2.5 * d * d - 0.5 * d * d * d
                   : 0;
}

// Every destination pixel as the direct two-dimensional sum over the source pixels near it
// (columns round the map, rows clamped to it), clamped but not rounded.
void DrawReference(const Image& map, const DrawPiece& piece, const Image& output,
                   std::vector<double>& exact) {
    const PixelRect &from = piece.source, &to = piece.destination;
    for (int y = 0; y < to.height; ++y) {
        for (int x = 0; x < to.width; ++x) {
            for (int channel = 0; channel < map.bytesPerPixel; ++channel) {
                double sum = 0;
                for (int j = y * from.height / to.height - 3;
                     j <= (y + 1) * from.height / to.height + 3; ++j) {
                    for (int i = x * from.width / to.width - 3;
                         i <= (x + 1) * from.width / to.width + 3; ++i) {
                        const int column = ((from.x + i) % map.width + map.width) % map.width;
                        const int row = std::clamp(from.y + j, 0, map.height - 1);
                        sum += Weight(from.height, to.height, y, j) *
                               Weight(from.width, to.width, x, i) *
                               map.bytes[map.Index(column, row, channel)];
                    }
                }
                exact[output.Index(to.x + x, to.y + y, channel)] = std::clamp(sum, 0.0, 255.0);
            }
        }
    }
}

} // namespace

// Random maps and pieces, shrinking and enlarging on either axis, at offsets whose sources reach
// past any edge of the map, and pieces of the same size, which copy. Every byte is the exact
// value rounded (either way next to a half); those outside the destination keep their value. The
// reference runs its columns round the map, so pieces that meet at the map's edge join without a
// seam.
TEST(Resampler, MatchesTheDirectFilter) {
    std::mt19937 random(7);
    const auto draw = [&random](int low, int high) {
        return std::uniform_int_distribution(low, high)(random);
    };
    for (int trial = 0; trial < 90; ++trial) {
        Image map(draw(1, 90), draw(1, 50), draw(3, 4), random);
        Image output(draw(1, 120), draw(1, 70), map.bytesPerPixel, random);
        std::vector<double> exact(output.bytes.begin(), output.bytes.end());
        const int x = draw(0, output.width - 1), y = draw(0, output.height - 1);
        const int width = draw(1, output.width - x), height = draw(1, output.height - y);
        const bool same = trial % 3 == 2;
        const DrawPiece piece{{draw(-map.width, 2 * map.width), draw(-2, map.height),
                               same ? width : draw(1, 2 * map.width),
                               same ? height : draw(1, map.height)},
                              {x, y, width, height}};
        DrawReference(map, piece, output, exact);
        EXPECT_TRUE(ResamplePiece(map.View(), piece, output.View(), {}));
        for (size_t i = 0; i < exact.size(); ++i) {
            ASSERT_NEAR(output.bytes[i], exact[i], 0.501) << "trial " << trial << " byte " << i;
        }
    }
}

// The stop check is asked before each strip of rows; when it says stop, the strips drawn so far
// stay as a whole draw leaves them and the rows below keep their bytes. A band of rows draws
// those rows as the whole piece does, and no others.
TEST(Resampler, StopsBetweenStripsAndDrawsBandsOfRows) {
    std::mt19937 random(17);
    Image map(50, 40, 4, random);
    const Image before(30, 3 * kResampleStripRows + 5, 4, random);
    const DrawPiece piece{{10, 0, 50, 40}, {0, 0, 30, before.height}};
    Image whole = before;
    ASSERT_TRUE(ResamplePiece(map.View(), piece, whole.View(), {}));
    // Checks answered before the stop (-1: the band of rows 5 to 40 drawn alone), the rows then
    // drawn, the result.
    const std::array<int, 4> cases[] = {{0, 0, 0, false},
                                        {2, 0, 2 * kResampleStripRows, false},
                                        {4, 0, before.height, true},
                                        {-1, 5, 40, true}};
    for (const auto& [allowed, firstRow, endRow, finished] : cases) {
        Image output = before;
        int asked = 0;
        const auto stop = [&] { return ++asked > allowed; };
        EXPECT_EQ(allowed < 0 ? ResamplePieceRows(map.View(), piece, 5, 40, output.View(), {})
                              : ResamplePiece(map.View(), piece, output.View(), stop),
                  finished);
        EXPECT_EQ(asked, std::clamp(allowed + 1, 0, 4));
        for (size_t i = 0; i < output.bytes.size(); ++i) {
            const int row = static_cast<int>(i / output.stride);
            ASSERT_EQ(output.bytes[i], (row >= firstRow && row < endRow ? whole : before).bytes[i])
                << "row " << row;
        }
    }
}

// A destination reaching outside the output, or pixel sizes that differ or are not 3 or 4
// bytes, draw nothing.
TEST(Resampler, RefusesPiecesThatDoNotFit) {
    std::mt19937 random(19);
    for (const auto& [mapBytes, outputBytes, x, y] :
         {std::array{3, 3, 1, 0}, {3, 3, 0, -1}, {3, 4, 0, 0}, {2, 2, 0, 0}}) {
        Image map(20, 10, mapBytes, random);
        Image output(20, 10, outputBytes, random), before = output;
        EXPECT_FALSE(
            ResamplePiece(map.View(), {{0, 0, 20, 10}, {x, y, 20, 10}}, output.View(), {}));
        EXPECT_EQ(output.bytes, before.bytes);
    }
}
