// The composer on the monitors Wine reports, run by monitors-test.sh once per monitor layout of
// an X server on the dummy video driver, each of several monitors, under a Windows version that
// can span a picture over them. GLOAMERY_MONITORS lists the layout as "x,y,w,h;...".
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "render/DesktopMonitors.h"
#include "render/core/DesktopWallpaper.h"
#include "render/OutputFolder.h"
#include "render/WallpaperComposer.h"
#include "settings/SettingsStore.h"
#include "tests/imaging/ImagingTestSupport.h"

namespace {

// "x,y,w,h;..." from left to right, as GLOAMERY_MONITORS lists them.
std::string Describe(std::vector<PixelRect> monitors) {
    std::sort(monitors.begin(), monitors.end());
    std::ostringstream text;
    for (const PixelRect& m : monitors) {
        text << m.x << ',' << m.y << ',' << m.width << ',' << m.height << ';';
    }
    return text.str();
}

// The monitors as monitors-test.sh says Wine reports them.
const std::string kMonitors =
    std::getenv("GLOAMERY_MONITORS") ? std::getenv("GLOAMERY_MONITORS") : "";

TEST(MonitorLayout, EachMonitorShowsItsOwnScreenPictureAndSeveralAreSpanned) {
    // Wine takes a moment to see a new layout of the X server.
    std::vector<PixelRect> monitors;
    for (int wait = 0; wait < 100 && Describe(monitors = DesktopMonitors()) != kMonitors; ++wait) {
        Sleep(100);
    }
    ASSERT_EQ(Describe(monitors), kMonitors);

    // A map with detail everywhere, so that each monitor's part is plainly its own.
    ScratchFolder scratch;
    WriteFileBytes(scratch.File(L"map.bmp"), BmpPicture(1024, 512, [](int x, int y) {
                       return (x / 4) << 16 | (y / 2) << 8 | ((x ^ y) & 0xFF);
                   }));
    SettingsStore settings;
    settings.SetSrcImgPath(scratch.File(L"map.bmp"));
    settings.SetNoonPixel(512);
    const std::wstring wallpaper = MakeOutputPath(L"Pembrix Gloamery Current Image.bmp");
    const SYSTEMTIME utc = MakeUtc(2026, 12, 7, 18, 30, 0);

    // The update as the worker runs it: one picture, spanned over the monitors whatever style
    // the user had set.
    const wchar_t userStyle[] = L"6";
    RegSetKeyValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"WallpaperStyle", REG_SZ,
                    userStyle, sizeof userStyle);
    ComposeWallpaper(settings);
    const ArgbBuffer update = ReadPicture(wallpaper);
    // The bounding box, whose arithmetic the native layout test checks.
    const PixelRect box = ComputeDesktopWallpaper(1024, 512, 512, 18, 30, monitors)->bounds;
    EXPECT_EQ(update.width, static_cast<std::uint32_t>(box.width));
    EXPECT_EQ(update.height, static_cast<std::uint32_t>(box.height));
    EXPECT_EQ(DesktopSetting(L"WallpaperStyle"), L"22");
    EXPECT_EQ(DesktopSetting(L"TileWallpaper"), L"0");

    // The whole desktop at one time: each monitor's part is the picture made for that screen
    // alone at that time; what no monitor shows is black.
    ComposeDesktopWallpaperAt(settings, utc, monitors);
    ArgbBuffer outside = ReadPicture(wallpaper);
    ASSERT_EQ(outside.width, static_cast<std::uint32_t>(box.width));
    ASSERT_EQ(outside.height, static_cast<std::uint32_t>(box.height));
    for (const PixelRect& m : monitors) {
        ComposeWallpaperAt(settings, utc, m.width, m.height);
        const ArgbBuffer single = ReadPicture(wallpaper);
        int differing = 0;
        for (int y = 0; y < m.height; ++y) {
            for (int x = 0; x < m.width; ++x) {
                const size_t at = size_t(m.y - box.y + y) * outside.width + (m.x - box.x + x);
                differing += outside.pixels[at] != single.At(x, y);
                outside.pixels[at] = 0xFF000000u;
            }
        }
        EXPECT_EQ(differing, 0) << "monitor at " << m.x << ',' << m.y;
    }
    EXPECT_EQ(std::count(outside.pixels.begin(), outside.pixels.end(), 0xFF000000u),
              std::ptrdiff_t(outside.pixels.size()));
}

} // namespace
