#include <gtest/gtest.h>

#include <vector>

#include "render/core/DesktopWallpaper.h"

namespace {

struct Layout {
    const char* name;
    std::vector<PixelRect> monitors;
    PixelRect bounds;
};

// Each monitor's part of the picture is the single-screen layout for its size, moved to where
// the monitor lies in the bounding box.
TEST(DesktopWallpaper, EachMonitorHoldsItsOwnScreenLayoutInsideTheBoundingBox) {
    const std::vector<Layout> layouts = {
        {"one monitor", {{0, 0, 1024, 768}}, {0, 0, 1024, 768}},
        {"two of different heights",
         {{0, 0, 1280, 1024}, {1280, 0, 1920, 1080}},
         {0, 0, 3200, 1080}},
        {"one left of the primary",
         {{0, 0, 1280, 1024}, {-1920, 0, 1920, 1080}},
         {-1920, 0, 3200, 1080}},
        {"one above the primary",
         {{0, 0, 1280, 1024}, {100, -900, 1600, 900}},
         {0, -900, 1700, 1924}},
        {"three",
         {{0, 0, 1920, 1080}, {1920, -200, 1080, 1920}, {-1024, 300, 1024, 768}},
         {-1024, -200, 4024, 1920}},
    };
    for (const Layout& layout : layouts) {
        SCOPED_TRACE(layout.name);
        const auto desktop = ComputeDesktopWallpaper(2048, 1024, 1024, 18, 30, layout.monitors);
        ASSERT_TRUE(desktop);
        EXPECT_EQ(desktop->bounds, layout.bounds);
        std::vector<DrawPiece> expected;
        for (const PixelRect& monitor : layout.monitors) {
            const auto single =
                ComputeWallpaperGeometry(2048, 1024, 1024, 18, 30, monitor.width, monitor.height);
            ASSERT_TRUE(single);
            for (DrawPiece piece : single->pieces) {
                piece.destination.x += monitor.x - layout.bounds.x;
                piece.destination.y += monitor.y - layout.bounds.y;
                EXPECT_GE(piece.destination.x, 0);
                EXPECT_LE(piece.destination.x + piece.destination.width, layout.bounds.width);
                EXPECT_LE(piece.destination.y + piece.destination.height, layout.bounds.height);
                expected.push_back(piece);
            }
        }
        EXPECT_EQ(desktop->pieces, expected);
    }
}

TEST(DesktopWallpaper, NothingToDrawWithoutSoundMonitors) {
    EXPECT_FALSE(ComputeDesktopWallpaper(2048, 1024, 1024, 12, 0, {}));
    const std::vector<PixelRect> empty = {{0, 0, 1280, 1024}, {1280, 0, 0, 1080}};
    EXPECT_FALSE(ComputeDesktopWallpaper(2048, 1024, 1024, 12, 0, empty));
    const std::vector<PixelRect> farApart = {{-40000, 0, 800, 600}, {40000, 0, 800, 600}};
    EXPECT_FALSE(ComputeDesktopWallpaper(2048, 1024, 1024, 12, 0, farApart));
}

} // namespace
