// Times whole wallpaper updates under Wine, as the update worker runs them, and reports the
// process's peak working set, which the updates dominate.
//   update_bench prepare FOLDER            writes day and night maps of 2048x1024 and 8192x4096
//   update_bench run FOLDER WIDTH MODE N   N updates from the WIDTH-wide maps on a 1920x1080
//                                          screen; MODE is "day" (the map scaled onto the
//                                          screen) or "daynight" (rendered first, then scaled)
// Each "run" is its own process, so that its peak memory belongs to the updates alone.
#include <windows.h>

#include <gdiplus.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "render/EncoderClsid.h"
#include "render/GdiplusOwners.h"
#include "render/GdiplusSession.h"
#include "render/WallpaperComposer.h"
#include "settings/SettingsStore.h"

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

namespace {

constexpr int kScreenWidth = 1920;
constexpr int kScreenHeight = 1080;

std::wstring MapPath(const std::wstring& folder, UINT width, const wchar_t* kind) {
    return folder + L"\\" + kind + L"-" + std::to_wstring(width) + L".bmp";
}

// A picture with detail everywhere, so that no stage sees a flat field.
bool WriteMap(const std::wstring& path, UINT width, UINT height, UINT seed) {
    UniqueGdipBitmap bitmap;
    if (GdipCreateBitmapFromScan0(static_cast<INT>(width), static_cast<INT>(height), 0,
                                  PixelFormat24bppRGB, nullptr, bitmap.put()) != Ok) {
        return false;
    }
    Rect all(0, 0, static_cast<INT>(width), static_cast<INT>(height));
    BitmapData data{};
    if (GdipBitmapLockBits(bitmap.get(), &all, ImageLockModeWrite, PixelFormat32bppARGB, &data) !=
        Ok) {
        return false;
    }
    for (UINT y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<ARGB*>(static_cast<BYTE*>(data.Scan0) +
                                            static_cast<ptrdiff_t>(y) * data.Stride);
        for (UINT x = 0; x < width; ++x) {
            const UINT noise = (x * 73856093u ^ y * 19349663u ^ seed * 83492791u) >> 7;
            row[x] = 0xFF000000u | ((x * 255 / width + (noise & 31)) & 0xFF) << 16 |
                     ((y * 255 / height + (noise >> 5 & 31)) & 0xFF) << 8 | (seed * 90 & 0xFF);
        }
    }
    GdipBitmapUnlockBits(bitmap.get(), &data);
    CLSID bmp{};
    return GetEncoderClsid(L"image/bmp", bmp) >= 0 &&
           GdipSaveImageToFile(bitmap.get(), path.c_str(), &bmp, nullptr) == Ok;
}

int Prepare(const std::wstring& folder) {
    CreateDirectoryW(folder.c_str(), nullptr);
    for (const UINT width : {2048u, 8192u}) {
        if (!WriteMap(MapPath(folder, width, L"day"), width, width / 2, 1) ||
            !WriteMap(MapPath(folder, width, L"night"), width, width / 2, 2)) {
            std::fwprintf(stderr, L"could not write the %u-wide maps\n", width);
            return 1;
        }
    }
    return 0;
}

double SecondsSince(const LARGE_INTEGER& start) {
    LARGE_INTEGER now{};
    LARGE_INTEGER frequency{};
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart - start.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

SIZE_T PeakWorkingSet() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters.PeakWorkingSetSize;
}

int Run(const std::wstring& folder, UINT width, bool dayAndNight, int runs) {
    SettingsStore settings;
    settings.SetSrcImgPath(MapPath(folder, width, L"day"));
    settings.SetSrc2ImgPath(MapPath(folder, width, L"night"));
    settings.SetNoonPixel(static_cast<int>(width / 2));
    settings.SetTerminator(dayAndNight ? 1 : 0);
    SYSTEMTIME utc{};
    utc.wYear = 2026;
    utc.wMonth = 12;
    utc.wDay = 7;
    utc.wHour = 18;
    utc.wMinute = 30;

    std::vector<double> seconds;
    for (int i = 0; i < runs; ++i) {
        LARGE_INTEGER start{};
        QueryPerformanceCounter(&start);
        ComposeWallpaperAt(settings, utc, kScreenWidth, kScreenHeight);
        seconds.push_back(SecondsSince(start));
        if (settings.GetProgress() == 0) {
            std::fwprintf(stderr, L"the update did not complete\n");
            return 1;
        }
    }
    std::sort(seconds.begin(), seconds.end());
    // Under Wine the working set is the one memory figure that follows the program's own use.
    const double peakMib = static_cast<double>(PeakWorkingSet()) / (1024.0 * 1024.0);
    std::wprintf(L"%ux%u %-8ls median of %d: %.3f s   peak working set %.0f MiB\n", width,
                 width / 2, dayAndNight ? L"daynight" : L"day", runs, seconds[seconds.size() / 2],
                 peakMib);
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const GdiplusSession gdiplus;
    if (!gdiplus.Started()) {
        return 1;
    }
    if (argc == 3 && std::wcscmp(argv[1], L"prepare") == 0) {
        return Prepare(argv[2]);
    }
    if (argc == 6 && std::wcscmp(argv[1], L"run") == 0) {
        const UINT width = static_cast<UINT>(std::wcstoul(argv[3], nullptr, 10));
        const int runs = std::max(1, static_cast<int>(std::wcstol(argv[5], nullptr, 10)));
        if (width != 2048 && width != 8192) {
            return 2;
        }
        return Run(argv[2], width, std::wcscmp(argv[4], L"daynight") == 0, runs);
    }
    std::fwprintf(stderr,
                  L"usage: update_bench prepare FOLDER | run FOLDER WIDTH day|daynight N\n");
    return 2;
}
