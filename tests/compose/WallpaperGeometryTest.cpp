#include <gtest/gtest.h>

#include <climits>

#include "render/core/WallpaperGeometry.h"

// Readable failure messages; found by argument-dependent lookup, so outside the unnamed namespace.
static std::ostream& operator<<(std::ostream& out, const PixelRect& rect) {
    return out << "(" << rect.x << ", " << rect.y << ", " << rect.width << ", " << rect.height
               << ")";
}

static std::ostream& operator<<(std::ostream& out, const DrawPiece& piece) {
    return out << piece.source << " -> " << piece.destination;
}

namespace {

WallpaperGeometry Compute(uint32_t mapWidth, uint32_t mapHeight, int noonPixel, int hour,
                          int minute, int screenWidth, int screenHeight) {
    const auto geometry = ComputeWallpaperGeometry(mapWidth, mapHeight, noonPixel, hour, minute,
                                                   screenWidth, screenHeight);
    EXPECT_TRUE(geometry.has_value());
    return geometry.value_or(WallpaperGeometry{});
}

using Pieces = std::vector<DrawPiece>;

// The worked examples: a 2048 x 1024 map with its noon column at 1024 unless stated.

TEST(WallpaperGeometry, NoonUtcOnA1024By768Screen) {
    const WallpaperGeometry g = Compute(2048, 1024, 1024, 12, 0, 1024, 768);
    EXPECT_EQ(g.pixelsPerMinute, 1.4222223f);
    EXPECT_EQ(g.noonColumn, 1024);
    EXPECT_EQ(g.scale, 0.75f);
    EXPECT_EQ(g.sourceHeight, 1024);
    EXPECT_EQ(g.sourceWidth, 1365);
    EXPECT_EQ(g.left, 342);
    EXPECT_EQ(g.right, 1707);
    EXPECT_FALSE(g.wraps);
    // Screen column 1023 stays undrawn.
    EXPECT_EQ(g.pieces, (Pieces{{{342, 0, 1365, 1024}, {0, 0, 1023, 768}}}));
}

TEST(WallpaperGeometry, MidnightUtcWrapsPastTheRightEdge) {
    // -720 minutes at 1.4222223 columns a minute is -1024.00002, truncated to -1024.
    const WallpaperGeometry g = Compute(2048, 1024, 1024, 0, 0, 1024, 768);
    EXPECT_EQ(g.noonColumn, 0);
    EXPECT_EQ(g.left, 1366);
    EXPECT_TRUE(g.wraps);
    EXPECT_EQ(g.right, 2048);
    EXPECT_EQ(g.pieces, (Pieces{{{1366, 0, 682, 1024}, {0, 0, 511, 768}},
                                {{0, 0, 683, 1024}, {511, 0, 513, 768}}}));
}

TEST(WallpaperGeometry, EveningUtcWrapsWithTheSecondPieceEndingAtTheScreenEdge) {
    const WallpaperGeometry g = Compute(2048, 1024, 1024, 18, 30, 1024, 768);
    EXPECT_EQ(g.noonColumn, 470);
    EXPECT_EQ(g.left, 1836);
    EXPECT_TRUE(g.wraps);
    EXPECT_EQ(g.pieces, (Pieces{{{1836, 0, 212, 1024}, {0, 0, 159, 768}},
                                {{0, 0, 1153, 1024}, {159, 0, 865, 768}}}));
}

TEST(WallpaperGeometry, ScreenAsHighAsTheMapDrawsOneToOne) {
    const WallpaperGeometry g = Compute(2048, 1024, 1024, 12, 0, 1280, 1024);
    EXPECT_EQ(g.scale, 1.0f);
    EXPECT_EQ(g.pieces, (Pieces{{{384, 0, 1280, 1024}, {0, 0, 1280, 1024}}}));
}

TEST(WallpaperGeometry, SinglePrecisionScaleLosesASourceRow) {
    const WallpaperGeometry g = Compute(1000, 500, 500, 9, 15, 1024, 768);
    EXPECT_EQ(g.pixelsPerMinute, 0.69444448f);
    // -165 minutes: -114.58 columns, truncated toward zero.
    EXPECT_EQ(g.noonColumn, 614);
    EXPECT_GT(double{g.scale}, 1.536);
    EXPECT_EQ(g.sourceHeight, 499);
    EXPECT_EQ(g.sourceWidth, 666);
    EXPECT_EQ(g.left, 281);
    EXPECT_FALSE(g.wraps);
    EXPECT_EQ(g.pieces, (Pieces{{{281, 0, 666, 499}, {0, 0, 1022, 768}}}));
}

TEST(WallpaperGeometry, StripEndingAtTheMapEdgeWrapsWithNothingToDrawAfter) {
    const WallpaperGeometry g = Compute(2048, 1024, 1365, 12, 0, 1024, 768);
    EXPECT_EQ(g.left, 683);
    EXPECT_TRUE(g.wraps);
    EXPECT_EQ(g.right, 2048);
    EXPECT_EQ(g.pieces, (Pieces{{{683, 0, 1365, 1024}, {0, 0, 1023, 768}}}));
}

TEST(WallpaperGeometry, NoonColumnsFarOutsideTheMapWrapOntoIt) {
    const Pieces expected = Compute(2048, 1024, 1024, 18, 30, 1024, 768).pieces;
    for (int noonPixel : {1024 + 2048 * 7, 1024 - 2048 * 5, 1024 + 2048, 1024 - 2048}) {
        const WallpaperGeometry g = Compute(2048, 1024, noonPixel, 18, 30, 1024, 768);
        EXPECT_EQ(g.noonColumn, 470) << noonPixel;
        EXPECT_EQ(g.pieces, expected) << noonPixel;
    }
    EXPECT_EQ(Compute(2048, 1024, INT_MIN, 12, 0, 1024, 768).noonColumn, 0);
    EXPECT_EQ(Compute(2048, 1024, INT_MAX, 12, 0, 1024, 768).noonColumn, 2047);
    // INT_MIN + 500 leaves 852 on a map 1000 columns wide.
    EXPECT_EQ(Compute(1000, 500, INT_MIN, 0, 0, 1024, 768).noonColumn, 852);
}

TEST(WallpaperGeometry, ScreenWiderThanTheMapRepeatsIt) {
    // A 256-column map on a screen four map widths wide.
    const WallpaperGeometry g = Compute(256, 128, 100, 12, 0, 1024, 128);
    EXPECT_EQ(g.sourceWidth, 1024);
    EXPECT_EQ(g.left, 100);
    EXPECT_TRUE(g.wraps);
    EXPECT_EQ(g.pieces, (Pieces{{{100, 0, 156, 128}, {0, 0, 156, 128}},
                                {{0, 0, 256, 128}, {156, 0, 256, 128}},
                                {{0, 0, 256, 128}, {412, 0, 256, 128}},
                                {{0, 0, 256, 128}, {668, 0, 256, 128}},
                                {{0, 0, 100, 128}, {924, 0, 100, 128}}}));
}

TEST(WallpaperGeometry, NothingToDrawForEmptyMapsScreensOrClockValues) {
    EXPECT_FALSE(ComputeWallpaperGeometry(0, 1024, 0, 12, 0, 1024, 768));
    EXPECT_FALSE(ComputeWallpaperGeometry(2048, 0, 0, 12, 0, 1024, 768));
    EXPECT_FALSE(ComputeWallpaperGeometry(2048, 1024, 0, 12, 0, 0, 768));
    EXPECT_FALSE(ComputeWallpaperGeometry(2048, 1024, 0, 12, 0, 1024, 0));
    EXPECT_FALSE(ComputeWallpaperGeometry(2048, 1024, 0, 12, 0, -1024, 768));
    EXPECT_FALSE(ComputeWallpaperGeometry(2048, 1024, 0, 12, 0, 1024, -768));
    EXPECT_FALSE(ComputeWallpaperGeometry(UINT32_MAX, 1024, 0, 12, 0, 1024, 768));
    EXPECT_FALSE(ComputeWallpaperGeometry(2048, UINT32_MAX, 0, 12, 0, 1024, 768));
    EXPECT_FALSE(ComputeWallpaperGeometry(2048, 1024, 0, 24, 0, 1024, 768));
    EXPECT_FALSE(ComputeWallpaperGeometry(2048, 1024, 0, 12, 60, 1024, 768));
    EXPECT_FALSE(ComputeWallpaperGeometry(2048, 1024, 0, -1, 0, 1024, 768));
    // A one-column map scaled down to a fraction of a screen column.
    EXPECT_FALSE(ComputeWallpaperGeometry(1, 4096, 0, 12, 0, 1024, 768));
    // A screen too narrow to show a single source column.
    EXPECT_FALSE(ComputeWallpaperGeometry(1000, 1, 0, 12, 0, 1, 1000));
}

// Across many maps, screens, noon columns and times: every piece reads inside the map, the
// pieces tile the screen from its left edge without gaps or overlaps, and the noon column
// sits in the middle of the strip.
TEST(WallpaperGeometry, PiecesStayInsideTheMapAndTileTheScreen) {
    struct Size {
        int width;
        int height;
    };
    const Size maps[] = {{2048, 1024}, {1000, 500}, {256, 128}, {3, 2}, {1, 1}, {5400, 2700}};
    const Size screens[] = {{1024, 768}, {1280, 1024}, {1920, 1080}, {5760, 1080},
                            {800, 600},  {7, 3},       {1, 1},       {3840, 2160}};
    for (const Size map : maps) {
        for (const Size screen : screens) {
            for (const int noonPixel : {0, map.width / 2, map.width - 1, -3 * map.width - 1}) {
                for (int minuteOfDay = 0; minuteOfDay < 1440; minuteOfDay += 97) {
                    const auto found =
                        ComputeWallpaperGeometry(map.width, map.height, noonPixel, minuteOfDay / 60,
                                                 minuteOfDay % 60, screen.width, screen.height);
                    ASSERT_TRUE(found);
                    const WallpaperGeometry& g = *found;
                    SCOPED_TRACE(testing::Message()
                                 << "map " << map.width << "x" << map.height << " screen "
                                 << screen.width << "x" << screen.height << " noon " << noonPixel
                                 << " minute " << minuteOfDay);
                    ASSERT_FALSE(g.pieces.empty());
                    EXPECT_GE(g.noonColumn, 0);
                    EXPECT_LT(g.noonColumn, map.width);
                    EXPECT_LE(g.sourceHeight, map.height);
                    int64_t columns = 0;
                    int screenColumn = 0;
                    for (const DrawPiece& piece : g.pieces) {
                        EXPECT_GE(piece.source.x, 0);
                        EXPECT_GE(piece.source.width, 1);
                        EXPECT_LE(piece.source.x + piece.source.width, map.width);
                        EXPECT_EQ(piece.source.y, 0);
                        EXPECT_EQ(piece.source.height, g.sourceHeight);
                        EXPECT_EQ(piece.destination.x, screenColumn);
                        EXPECT_GE(piece.destination.width, 0);
                        EXPECT_EQ(piece.destination.y, 0);
                        EXPECT_EQ(piece.destination.height, screen.height);
                        screenColumn += piece.destination.width;
                        columns += piece.source.width;
                    }
                    EXPECT_EQ(columns, g.sourceWidth);
                    if (g.pieces.size() > 1) {
                        EXPECT_EQ(screenColumn, screen.width);
                    } else {
                        EXPECT_LE(screenColumn, screen.width);
                        EXPECT_GT(screenColumn, screen.width - g.scale - 1);
                    }
                    EXPECT_EQ((g.left + g.sourceWidth / 2) % map.width, g.noonColumn);
                }
            }
        }
    }
}

} // namespace
