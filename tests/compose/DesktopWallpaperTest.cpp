#include <gtest/gtest.h>

#include <optional>
#include <utility>
#include <vector>

#include "render/core/DesktopWallpaper.h"

// The picture covers the monitors' bounding box, which may start at negative coordinates; that
// each monitor's part is the single-screen picture for its size is checked pixel by pixel on real
// monitor layouts under Wine (MonitorLayoutTest.cpp). No monitors, one of no size, or a desktop
// wider or taller than any picture can be give nothing to draw.
TEST(DesktopWallpaper, CoversTheBoundingBoxOfSoundMonitors) {
    const std::pair<std::vector<PixelRect>, std::optional<PixelRect>> layouts[] = {
        {{{0, 0, 1280, 1024}, {-1920, 0, 1920, 1080}}, PixelRect{-1920, 0, 3200, 1080}},
        {{{0, 0, 1920, 1080}, {1920, -200, 1080, 1920}, {-1024, 300, 1024, 768}},
         PixelRect{-1024, -200, 4024, 1920}},
        {{}, std::nullopt},
        {{{0, 0, 1280, 1024}, {1280, 0, 0, 1080}}, std::nullopt},
        {{{-40000, 0, 800, 600}, {40000, 0, 800, 600}}, std::nullopt},
        {{{0, -40000, 800, 600}, {0, 40000, 800, 600}}, std::nullopt}};
    for (const auto& [monitors, bounds] : layouts) {
        const auto desktop = ComputeDesktopWallpaper(2048, 1024, 1024, 18, 30, monitors);
        EXPECT_EQ(desktop ? std::optional(desktop->bounds) : std::nullopt, bounds)
            << monitors.size() << " monitors";
    }
}
