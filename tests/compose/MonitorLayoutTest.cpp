// The composer on the monitors Wine reports, run by monitors-test.sh once per monitor layout of
// an X server on the dummy video driver. GLOAMERY_MONITORS lists the layout as "x,y,w,h;..."
// and GLOAMERY_SPANS says whether the system can span a picture (the prefix's Windows version).
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "render/DesktopMonitors.h"
#include "render/OutputFolder.h"
#include "render/WallpaperComposer.h"
#include "settings/SettingsStore.h"
#include "tests/imaging/ImagingTestSupport.h"

namespace {

// "x,y,w,h;..." from left to right, as GLOAMERY_MONITORS lists them.
std::string Describe(std::vector<PixelRect> monitors) {
    std::sort(monitors.begin(), monitors.end(), [](const PixelRect& l, const PixelRect& r) {
        return std::tie(l.x, l.y) < std::tie(r.x, r.y);
    });
    std::ostringstream text;
    for (const PixelRect& m : monitors) {
        text << m.x << ',' << m.y << ',' << m.width << ',' << m.height << ';';
    }
    return text.str();
}

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::wstring DesktopValue(const wchar_t* name) {
    wchar_t value[64] = {};
    DWORD size = sizeof value - sizeof(wchar_t);
    RegGetValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", name, RRF_RT_REG_SZ, nullptr, value,
                 &size);
    return value;
}

TEST(MonitorLayout, EachMonitorShowsItsOwnScreenPictureAndSeveralAreSpanned) {
    // Wine takes a moment to see a new layout of the X server.
    std::vector<PixelRect> monitors = DesktopMonitors();
    for (int wait = 0; wait < 100 && Describe(monitors) != Environment("GLOAMERY_MONITORS");
         ++wait) {
        Sleep(100);
        monitors = DesktopMonitors();
    }
    ASSERT_EQ(Describe(monitors), Environment("GLOAMERY_MONITORS"));

    // A map with detail everywhere, so that each monitor's part is plainly its own.
    ScratchFolder scratch;
    WriteFileBytes(scratch.File(L"map.bmp"), BmpPicture(1024, 512, [](int x, int y) {
                       return (x / 4) << 16 | (y / 2) << 8 | ((x ^ y) & 0xFF);
                   }));
    SettingsStore settings;
    settings.SetSrcImgPath(scratch.File(L"map.bmp"));
    settings.SetNoonPixel(512);
    settings.SetTerminator(0);
    const std::wstring wallpaper = MakeOutputPath(L"Pembrix Gloamery Current Image.bmp");
    const SYSTEMTIME utc = MakeUtc(2026, 12, 7, 18, 30, 0);
    std::vector<ArgbBuffer> singles;
    for (const PixelRect& monitor : monitors) {
        ComposeWallpaperAt(settings, utc, monitor.width, monitor.height);
        singles.push_back(ReadPicture(wallpaper));
    }

    const wchar_t userStyle[] = L"6";
    RegSetKeyValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"WallpaperStyle", REG_SZ,
                    userStyle, sizeof userStyle);
    ComposeDesktopWallpaperAt(settings, utc, monitors);
    const ArgbBuffer desktop = ReadPicture(wallpaper);
    int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;
    for (const PixelRect& m : monitors) {
        left = std::min(left, m.x);
        top = std::min(top, m.y);
        right = std::max(right, m.x + m.width);
        bottom = std::max(bottom, m.y + m.height);
    }
    ASSERT_EQ(desktop.width, static_cast<std::uint32_t>(right - left));
    ASSERT_EQ(desktop.height, static_cast<std::uint32_t>(bottom - top));
    // Each monitor's part is its single-screen picture; what no monitor shows is black.
    std::vector<bool> covered(desktop.pixels.size());
    for (size_t i = 0; i < monitors.size(); ++i) {
        const PixelRect& m = monitors[i];
        int differing = 0;
        for (int y = 0; y < m.height; ++y) {
            for (int x = 0; x < m.width; ++x) {
                const size_t at =
                    static_cast<size_t>(m.y - top + y) * desktop.width + m.x - left + x;
                covered[at] = true;
                differing += desktop.pixels[at] != singles[i].At(x, y);
            }
        }
        EXPECT_EQ(differing, 0) << "monitor " << i;
    }
    int litOutside = 0;
    for (size_t i = 0; i < covered.size(); ++i) {
        litOutside += !covered[i] && desktop.pixels[i] != 0xFF000000u;
    }
    EXPECT_EQ(litOutside, 0);
    EXPECT_EQ(DesktopValue(L"WallpaperStyle"), monitors.size() > 1 ? L"22" : L"6");
    if (monitors.size() > 1) {
        EXPECT_EQ(DesktopValue(L"TileWallpaper"), L"0");
    }

    // The update as the worker runs it: spanned where the system can span, else the primary's.
    ComposeWallpaper(settings);
    const ArgbBuffer update = ReadPicture(wallpaper);
    const bool spans = monitors.size() > 1 && Environment("GLOAMERY_SPANS") == "1";
    EXPECT_EQ(update.width, spans ? desktop.width : UINT(GetSystemMetrics(SM_CXSCREEN)));
    EXPECT_EQ(update.height, spans ? desktop.height : UINT(GetSystemMetrics(SM_CYSCREEN)));
}

} // namespace
