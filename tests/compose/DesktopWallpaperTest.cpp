#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "render/core/DesktopWallpaper.h"

namespace {

// Each monitor's part of the picture is the single-screen layout for its size, moved to where
// the monitor lies in the bounding box, which may start at negative coordinates.
TEST(DesktopWallpaper, EachMonitorHoldsItsOwnScreenLayoutInsideTheBoundingBox) {
    const std::pair<std::vector<PixelRect>, PixelRect> layouts[] = {
        {{{0, 0, 1024, 768}}, {0, 0, 1024, 768}},
        {{{0, 0, 1280, 1024}, {1280, 0, 1920, 1080}}, {0, 0, 3200, 1080}},
        {{{0, 0, 1280, 1024}, {-1920, 0, 1920, 1080}}, {-1920, 0, 3200, 1080}},
        {{{0, 0, 1920, 1080}, {1920, -200, 1080, 1920}, {-1024, 300, 1024, 768}},
         {-1024, -200, 4024, 1920}},
    };
    for (const auto& [monitors, bounds] : layouts) {
        const auto desktop = ComputeDesktopWallpaper(2048, 1024, 1024, 18, 30, monitors);
        ASSERT_TRUE(desktop);
        EXPECT_EQ(desktop->bounds, bounds);
        std::vector<DrawPiece> expected;
        for (const PixelRect& monitor : monitors) {
            const auto single =
                ComputeWallpaperGeometry(2048, 1024, 1024, 18, 30, monitor.width, monitor.height);
            for (DrawPiece piece : single->pieces) {
                piece.destination.x += monitor.x - bounds.x;
                piece.destination.y += monitor.y - bounds.y;
                expected.push_back(piece);
            }
        }
        EXPECT_EQ(desktop->pieces, expected) << monitors.size() << " monitors";
    }
}

// No monitors, one of no size, or a desktop wider or taller than any picture can be.
TEST(DesktopWallpaper, NothingToDrawWithoutSoundMonitors) {
    const std::vector<PixelRect> layouts[] = {{},
                                              {{0, 0, 1280, 1024}, {1280, 0, 0, 1080}},
                                              {{-40000, 0, 800, 600}, {40000, 0, 800, 600}},
                                              {{0, -40000, 800, 600}, {0, 40000, 800, 600}}};
    for (const auto& monitors : layouts) {
        EXPECT_FALSE(ComputeDesktopWallpaper(2048, 1024, 1024, 12, 0, monitors)) << monitors.size();
    }
}

} // namespace
