// The composer on the monitors Wine reports, run by monitors-test.sh once per monitor layout of
// an X server on the dummy video driver. GLOAMERY_MONITORS lists the layout as "x,y,w,h;..."
// and GLOAMERY_SPANS says whether the system can span a picture (the prefix's Windows version).
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "render/DesktopMonitors.h"
#include "render/EncoderClsid.h"
#include "render/GdiplusBitmapFile.h"
#include "render/GdiplusSession.h"
#include "render/LockedBitmap.h"
#include "render/OutputFolder.h"
#include "render/WallpaperComposer.h"
#include "settings/SettingsStore.h"

namespace {

using namespace Gdiplus::DllExports;

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

// The wallpaper file's pixels as 32-bit values, row by row.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
    std::uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

Picture ReadWallpaper() {
    Picture picture;
    const UniqueGdipBitmap bitmap =
        LoadBitmapFromFile(MakeOutputPath(L"Pembrix Gloamery Current Image.bmp"));
    const LockedBitmap locked(bitmap.get(), Gdiplus::ImageLockModeRead, {});
    if (!locked) {
        return picture;
    }
    const PixelView view = locked.Pixels();
    picture.width = static_cast<int>(view.width);
    picture.height = static_cast<int>(view.height);
    for (std::uint32_t y = 0; y < view.height; ++y) {
        for (std::uint32_t x = 0; x < view.width; ++x) {
            picture.pixels.push_back(LoadArgb<4>(view.Row(y) + x * 4) | 0xFF000000u);
        }
    }
    return picture;
}

std::wstring DesktopValue(const wchar_t* name) {
    wchar_t value[64] = {};
    DWORD size = sizeof value - sizeof(wchar_t);
    RegGetValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", name, RRF_RT_REG_SZ, nullptr, value,
                 &size);
    return value;
}

void SetDesktopValue(const wchar_t* name, const wchar_t* value) {
    RegSetKeyValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", name, REG_SZ, value,
                    static_cast<DWORD>((wcslen(value) + 1) * sizeof(wchar_t)));
}

class MonitorLayout : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(gdiplus.Started());
        // A map with detail everywhere, smooth enough that each monitor's part is plainly its own.
        wchar_t folder[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, folder);
        mapPath = std::wstring(folder) + L"gloamery-monitor-map.bmp";
        UniqueGdipBitmap map;
        ASSERT_EQ(GdipCreateBitmapFromScan0(1024, 512, 0, PixelFormat24bppRGB, nullptr, map.put()),
                  Gdiplus::Ok);
        {
            const LockedBitmap pixels(map.get(), Gdiplus::ImageLockModeWrite,
                                      {PixelFormat24bppRGB});
            ASSERT_TRUE(pixels);
            const PixelView view = pixels.Pixels();
            for (std::uint32_t y = 0; y < view.height; ++y) {
                for (std::uint32_t x = 0; x < view.width; ++x) {
                    StoreArgb<3>(view.Row(y) + x * 3,
                                 (x / 4) << 16 | (y / 2) << 8 | ((x ^ y) & 0xFF));
                }
            }
        }
        CLSID bmp{};
        ASSERT_GE(GetEncoderClsid(L"image/bmp", bmp), 0);
        ASSERT_EQ(GdipSaveImageToFile(map.get(), mapPath.c_str(), &bmp, nullptr), Gdiplus::Ok);
        settings.SetSrcImgPath(mapPath);
        settings.SetNoonPixel(512);
        settings.SetTerminator(0);
    }
    void TearDown() override { DeleteFileW(mapPath.c_str()); }

    GdiplusSession gdiplus;
    SettingsStore settings;
    std::wstring mapPath;
};

TEST_F(MonitorLayout, EachMonitorShowsItsOwnScreenPictureAndSeveralAreSpanned) {
    const char* listed = std::getenv("GLOAMERY_MONITORS");
    ASSERT_NE(listed, nullptr);
    const std::string expected = listed;
    // Wine takes a moment to see a new layout of the X server.
    std::vector<PixelRect> monitors = DesktopMonitors();
    for (int wait = 0; wait < 100 && Describe(monitors) != expected; ++wait) {
        Sleep(100);
        monitors = DesktopMonitors();
    }
    ASSERT_EQ(Describe(monitors), expected);

    const SYSTEMTIME utc{2026, 12, 1, 7, 18, 30, 0, 0};
    std::vector<Picture> singles;
    for (const PixelRect& monitor : monitors) {
        ComposeWallpaperAt(settings, utc, monitor.width, monitor.height);
        singles.push_back(ReadWallpaper());
        ASSERT_EQ(singles.back().width, monitor.width);
    }
    SetDesktopValue(L"WallpaperStyle", L"6");
    ComposeDesktopWallpaperAt(settings, utc, monitors);
    const Picture desktop = ReadWallpaper();
    int left = INT32_MAX, top = INT32_MAX, right = INT32_MIN, bottom = INT32_MIN;
    for (const PixelRect& m : monitors) {
        left = std::min(left, m.x);
        top = std::min(top, m.y);
        right = std::max(right, m.x + m.width);
        bottom = std::max(bottom, m.y + m.height);
    }
    ASSERT_EQ(desktop.width, right - left);
    ASSERT_EQ(desktop.height, bottom - top);
    std::vector<bool> covered(desktop.pixels.size());
    for (size_t i = 0; i < monitors.size(); ++i) {
        const PixelRect& m = monitors[i];
        int differing = 0;
        for (int y = 0; y < m.height; ++y) {
            for (int x = 0; x < m.width; ++x) {
                const int px = m.x - left + x;
                const int py = m.y - top + y;
                covered[static_cast<size_t>(py) * desktop.width + px] = true;
                differing += desktop.At(px, py) != singles[i].At(x, y);
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
    const Picture update = ReadWallpaper();
    const bool spans = monitors.size() > 1 && std::getenv("GLOAMERY_SPANS") &&
                       std::string(std::getenv("GLOAMERY_SPANS")) == "1";
    EXPECT_EQ(update.width, spans ? desktop.width : GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(update.height, spans ? desktop.height : GetSystemMetrics(SM_CYSCREEN));
}

} // namespace
