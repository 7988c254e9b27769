// Times whole wallpaper updates under Wine, as the update worker runs them, and reports the
// process's peak working set, which the updates dominate.
//   update_bench run FOLDER WIDTH MODE N   N updates from FOLDER\{day,night}-WIDTH.jpg on a
//                                          1920x1080 screen; MODE is "day" (the map scaled onto
//                                          the screen) or "daynight" (rendered first, then scaled)
//   update_bench run FOLDER WIDTH MODE N desktop
//                                          the same on the monitors the system reports, as the
//                                          update worker composes for them, at the current time
// Each "run" is its own process, so that its peak memory belongs to the updates alone.
#include <windows.h>

#include <gdiplus.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "render/GdiplusSession.h"
#include "render/WallpaperComposer.h"
#include "settings/SettingsStore.h"

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

namespace {

constexpr int kScreenWidth = 1920;
constexpr int kScreenHeight = 1080;

std::wstring MapPath(const std::wstring& folder, UINT width, const wchar_t* kind) {
    return folder + L"\\" + kind + L"-" + std::to_wstring(width) + L".jpg";
}

double SecondsSince(const LARGE_INTEGER& start) {
    LARGE_INTEGER now{};
    LARGE_INTEGER frequency{};
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart - start.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

PROCESS_MEMORY_COUNTERS PeakMemory() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters;
}

int Run(const std::wstring& folder, UINT width, bool dayAndNight, int runs, bool desktop) {
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
        if (desktop) {
            ComposeWallpaper(settings);
        } else {
            ComposeWallpaperAt(settings, utc, kScreenWidth, kScreenHeight);
        }
        seconds.push_back(SecondsSince(start));
        if (settings.GetProgress() == 0) {
            std::fwprintf(stderr, L"the update did not complete\n");
            return 1;
        }
    }
    std::sort(seconds.begin(), seconds.end());
    const PROCESS_MEMORY_COUNTERS peak = PeakMemory();
    constexpr double kMib = 1024.0 * 1024.0;
    // Under Wine the private-bytes counter does not follow the program's allocations; the
    // script that runs this samples them from the host.
    std::wprintf(L"%ux%u %-8ls median of %d: %.3f s   peak working set %.0f MiB", width, width / 2,
                 dayAndNight ? L"daynight" : L"day", runs, seconds[seconds.size() / 2],
                 static_cast<double>(peak.PeakWorkingSetSize) / kMib);
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const GdiplusSession gdiplus;
    if (!gdiplus.Started()) {
        return 1;
    }
    const bool desktop = argc == 7 && std::wcscmp(argv[6], L"desktop") == 0;
    if ((argc == 6 || desktop) && std::wcscmp(argv[1], L"run") == 0) {
        const UINT width = static_cast<UINT>(std::wcstoul(argv[3], nullptr, 10));
        const int runs = std::max(1, static_cast<int>(std::wcstol(argv[5], nullptr, 10)));
        if (width != 2048 && width != 8192) {
            return 2;
        }
        return Run(argv[2], width, std::wcscmp(argv[4], L"daynight") == 0, runs, desktop);
    }
    std::fwprintf(stderr, L"usage: update_bench run FOLDER WIDTH day|daynight N [desktop]\n");
    return 2;
}
