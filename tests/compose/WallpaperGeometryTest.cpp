#include <gtest/gtest.h>

#include <array>
#include <climits>

#include "render/core/WallpaperGeometry.h"

// Readable failure messages; found by argument-dependent lookup, so outside the unnamed namespace.
static std::ostream& operator<<(std::ostream& out, const DrawPiece& piece) {
    const auto rect = [&out](const PixelRect& r) -> std::ostream& {
        return out << "(" << r.x << ", " << r.y << ", " << r.width << ", " << r.height << ")";
    };
    rect(piece.source) << " -> ";
    return rect(piece.destination);
}

namespace {

using Pieces = std::vector<DrawPiece>;

// The worked examples on a 2048 x 1024 map with its noon column at 1024, then a strip that ends
// exactly at the map's edge, a single-precision scale that loses a source row, and a screen
// wider than the map, which shows it repeated.
TEST(WallpaperGeometry, WorkedExamples) {
    // Map width and height, noon pixel, hour, minute, screen width and height; the noon column
    // on the map and the pieces drawn.
    const std::pair<std::array<int, 8>, Pieces> cases[] = {
        // Screen column 1023 stays undrawn.
        {{2048, 1024, 1024, 12, 0, 1024, 768, 1024}, {{{342, 0, 1365, 1024}, {0, 0, 1023, 768}}}},
        // -720 minutes at 1.4222223 columns a minute is -1024.00002, truncated to -1024.
        {{2048, 1024, 1024, 0, 0, 1024, 768, 0},
         {{{1366, 0, 682, 1024}, {0, 0, 511, 768}}, {{0, 0, 683, 1024}, {511, 0, 513, 768}}}},
        {{2048, 1024, 1024, 18, 30, 1024, 768, 470},
         {{{1836, 0, 212, 1024}, {0, 0, 159, 768}}, {{0, 0, 1153, 1024}, {159, 0, 865, 768}}}},
        {{2048, 1024, 1024, 12, 0, 1280, 1024, 1024}, {{{384, 0, 1280, 1024}, {0, 0, 1280, 1024}}}},
        // -165 minutes: -114.58 columns, truncated toward zero.
        {{1000, 500, 500, 9, 15, 1024, 768, 614}, {{{281, 0, 666, 499}, {0, 0, 1022, 768}}}},
        {{2048, 1024, 1365, 12, 0, 1024, 768, 1365}, {{{683, 0, 1365, 1024}, {0, 0, 1023, 768}}}},
        {{256, 128, 100, 12, 0, 1024, 128, 100},
         {{{100, 0, 156, 128}, {0, 0, 156, 128}},
          {{0, 0, 256, 128}, {156, 0, 256, 128}},
          {{0, 0, 256, 128}, {412, 0, 256, 128}},
          {{0, 0, 256, 128}, {668, 0, 256, 128}},
          {{0, 0, 100, 128}, {924, 0, 100, 128}}}}};
    for (const auto& [in, pieces] : cases) {
        SCOPED_TRACE(testing::Message() << in[0] << " noon " << in[2] << " at " << in[3] << ":"
                                        << in[4] << " on " << in[5] << "x" << in[6]);
        const auto g = ComputeWallpaperGeometry(in[0], in[1], in[2], in[3], in[4], in[5], in[6]);
        ASSERT_TRUE(g);
        EXPECT_EQ(g->noonColumn, in[7]);
        EXPECT_EQ(g->pieces, pieces);
    }
}

TEST(WallpaperGeometry, NoonColumnsFarOutsideTheMapWrapOntoIt) {
    const auto evening = [](int noonPixel) {
        return ComputeWallpaperGeometry(2048, 1024, noonPixel, 18, 30, 1024, 768).value();
    };
    for (int noonPixel : {1024 + 2048 * 7, 1024 - 2048 * 5, 1024 + 2048, 1024 - 2048}) {
        EXPECT_EQ(evening(noonPixel).noonColumn, 470) << noonPixel;
        EXPECT_EQ(evening(noonPixel).pieces, evening(1024).pieces) << noonPixel;
    }
    EXPECT_EQ(ComputeWallpaperGeometry(2048, 1024, INT_MIN, 12, 0, 1024, 768)->noonColumn, 0);
    EXPECT_EQ(ComputeWallpaperGeometry(2048, 1024, INT_MAX, 12, 0, 1024, 768)->noonColumn, 2047);
    // INT_MIN + 500 leaves 852 on a map 1000 columns wide.
    EXPECT_EQ(ComputeWallpaperGeometry(1000, 500, INT_MIN, 0, 0, 1024, 768)->noonColumn, 852);
}

// Maps, screens and clock values of no size or out of range; a one-column map scaled down to a
// fraction of a screen column; a screen too narrow to show a single source column.
TEST(WallpaperGeometry, NothingToDrawForEmptyMapsScreensOrClockValues) {
    const int64_t cases[][6] = {{0, 1024, 12, 0, 1024, 768},
                                {2048, 0, 12, 0, 1024, 768},
                                {2048, 1024, 12, 0, 0, 768},
                                {2048, 1024, 12, 0, 1024, 0},
                                {2048, 1024, 12, 0, -1024, 768},
                                {2048, 1024, 12, 0, 1024, -768},
                                {UINT32_MAX, 1024, 12, 0, 1024, 768},
                                {2048, UINT32_MAX, 12, 0, 1024, 768},
                                {2048, 1024, 24, 0, 1024, 768},
                                {2048, 1024, 12, 60, 1024, 768},
                                {2048, 1024, -1, 0, 1024, 768},
                                {1, 4096, 12, 0, 1024, 768},
                                {1000, 1, 12, 0, 1, 1000}};
    for (const auto& [mapWidth, mapHeight, hour, minute, screenWidth, screenHeight] : cases) {
        EXPECT_FALSE(ComputeWallpaperGeometry(uint32_t(mapWidth), uint32_t(mapHeight), 0, int(hour),
                                              int(minute), int(screenWidth), int(screenHeight)))
            << mapWidth << "x" << mapHeight << " " << hour << ":" << minute << " on " << screenWidth
            << "x" << screenHeight;
    }
}

// Across many maps, screens, noon columns and times: every piece reads inside the map, the
// pieces tile the screen from its left edge without gaps or overlaps, and the noon column
// sits in the middle of the strip.
TEST(WallpaperGeometry, PiecesStayInsideTheMapAndTileTheScreen) {
    const std::pair<int, int> maps[] = {{2048, 1024}, {1000, 500}, {256, 128},
                                        {3, 2},       {1, 1},      {5400, 2700}};
    const std::pair<int, int> screens[] = {{1024, 768}, {1280, 1024}, {1920, 1080}, {5760, 1080},
                                           {800, 600},  {7, 3},       {1, 1},       {3840, 2160}};
    for (const auto& [mapWidth, mapHeight] : maps) {
        for (const auto& [screenWidth, screenHeight] : screens) {
            for (const int noonPixel : {0, mapWidth / 2, mapWidth - 1, -3 * mapWidth - 1}) {
                for (int minuteOfDay = 0; minuteOfDay < 1440; minuteOfDay += 97) {
                    SCOPED_TRACE(testing::Message()
                                 << "map " << mapWidth << "x" << mapHeight << " screen "
                                 << screenWidth << "x" << screenHeight << " noon " << noonPixel
                                 << " minute " << minuteOfDay);
                    const auto g =
                        ComputeWallpaperGeometry(mapWidth, mapHeight, noonPixel, minuteOfDay / 60,
                                                 minuteOfDay % 60, screenWidth, screenHeight);
                    ASSERT_TRUE(g);
                    ASSERT_FALSE(g->pieces.empty());
                    EXPECT_GE(g->noonColumn, 0);
                    EXPECT_LT(g->noonColumn, mapWidth);
                    EXPECT_LE(g->sourceHeight, mapHeight);
                    int64_t columns = 0;
                    int screenColumn = 0;
                    for (const DrawPiece& piece : g->pieces) {
                        EXPECT_GE(piece.source.x, 0);
                        EXPECT_GE(piece.source.width, 1);
                        EXPECT_LE(piece.source.x + piece.source.width, mapWidth);
                        EXPECT_EQ(piece.source.y, 0);
                        EXPECT_EQ(piece.source.height, g->sourceHeight);
                        EXPECT_EQ(
                            piece.destination,
                            (PixelRect{screenColumn, 0, piece.destination.width, screenHeight}));
                        EXPECT_GE(piece.destination.width, 0);
                        screenColumn += piece.destination.width;
                        columns += piece.source.width;
                    }
                    EXPECT_EQ(columns, g->sourceWidth);
                    // One piece may leave the last column undrawn; pieces after a wrap end at
                    // the screen's edge.
                    EXPECT_LE(screenColumn, screenWidth);
                    EXPECT_GT(screenColumn,
                              g->pieces.size() > 1 ? screenWidth - 1 : screenWidth - g->scale - 1);
                    EXPECT_EQ((g->left + g->sourceWidth / 2) % mapWidth, g->noonColumn);
                }
            }
        }
    }
}

} // namespace
