#include <gtest/gtest.h>

#include <array>
#include <cstdint>

#include "render/core/WallpaperGeometry.h"

using Piece = std::array<int, 8>; // source x, y, width, height; destination x, y, width, height

// Map width and height, noon pixel, hour, minute, screen width and height; the noon column on
// the map and the pieces drawn; -1 and no pieces when there is nothing to draw.
TEST(WallpaperGeometry, PiecesDrawn) {
    const std::pair<std::array<int, 8>, std::vector<Piece>> cases[] = {
        // One piece, stretched over screen column 1023, which the scaled strip falls short of.
        {{2048, 1024, 1024, 12, 0, 1024, 768, 1024}, {{342, 0, 1365, 1024, 0, 0, 1024, 768}}},
        // -720 minutes at 1.4222223 columns a minute is -1024.00002, truncated to -1024. The
        // noon pixel lies five map widths to the left; the last piece ends at the screen's edge.
        {{2048, 1024, 1024 - 2048 * 5, 0, 0, 1024, 768, 0},
         {{1366, 0, 682, 1024, 0, 0, 511, 768}, {0, 0, 683, 1024, 511, 0, 513, 768}}},
        {{2048, 1024, 1024 + 2048 * 7, 18, 30, 1024, 768, 470},
         {{1836, 0, 212, 1024, 0, 0, 159, 768}, {0, 0, 1153, 1024, 159, 0, 865, 768}}},
        // -165 minutes: -114.58 columns, truncated toward zero; the single-precision scale
        // loses a source row.
        {{1000, 500, 500, 9, 15, 1024, 768, 614}, {{281, 0, 666, 499, 0, 0, 1024, 768}}},
        // A strip that ends exactly at the map's edge: no empty second piece.
        {{2048, 1024, 1365, 12, 0, 1024, 768, 1365}, {{683, 0, 1365, 1024, 0, 0, 1024, 768}}},
        // A one-pixel map fills the screen; one a fifth of a screen column wide is one piece
        // running round it 5461 times.
        {{1, 1, 0, 12, 0, 1024, 768, 0}, {{0, 0, 1, 1, 0, 0, 1024, 768}}},
        {{1, 4096, 0, 12, 0, 1024, 768, 0}, {{0, 0, 5461, 4096, 0, 0, 1024, 768}}},
        // A screen wider than the map shows it repeated.
        {{256, 128, 100, 12, 0, 1024, 128, 100},
         {{100, 0, 156, 128, 0, 0, 156, 128},
          {0, 0, 256, 128, 156, 0, 256, 128},
          {0, 0, 256, 128, 412, 0, 256, 128},
          {0, 0, 256, 128, 668, 0, 256, 128},
          {0, 0, 100, 128, 924, 0, 100, 128}}},
        // Maps, screens and clock values of no size or out of range (the map 4294967295 columns
        // wide included); a screen too narrow to show a single source column.
        {{0, 1024, 0, 12, 0, 1024, 768, -1}, {}},
        {{2048, 0, 0, 12, 0, 1024, 768, -1}, {}},
        {{2048, 1024, 0, 12, 0, 0, 768, -1}, {}},
        {{2048, 1024, 0, 12, 0, 1024, -768, -1}, {}},
        {{int(UINT32_MAX), 1024, 0, 12, 0, 1, 1, -1}, {}},
        {{2048, 1024, 0, 24, 0, 1024, 768, -1}, {}},
        {{2048, 1024, 0, 12, 60, 1024, 768, -1}, {}},
        {{2048, 1024, 0, -1, 0, 1024, 768, -1}, {}},
        {{1000, 1, 0, 12, 0, 1, 1000, -1}, {}}};
    for (const auto& [in, pieces] : cases) {
        const auto g = ComputeWallpaperGeometry(in[0], in[1], in[2], in[3], in[4], in[5], in[6]);
        std::vector<Piece> drawn;
        for (const auto& [from, to] : g ? g->pieces : std::vector<DrawPiece>{}) {
            drawn.push_back(
                {from.x, from.y, from.width, from.height, to.x, to.y, to.width, to.height});
        }
        EXPECT_EQ(g ? g->noonColumn : -1, in[7]) << in[0] << " noon " << in[2];
        EXPECT_EQ(drawn, pieces) << in[0] << " noon " << in[2] << " at " << in[3] << ":" << in[4];
    }
}
