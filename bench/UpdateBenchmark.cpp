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
#include <string_view>
#include <thread>
#include <vector>

#include "render/GdiplusSession.h"
#include "render/OutputFolder.h"
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

// Notes when the new Current Image is in place, the moment the update's picture is complete: the
// composer renames its finished file over the old one. The update may still be writing the
// Terminator Image then.
class CurrentImageWatch {
public:
    CurrentImageWatch() {
        std::wstring path;
        GetOutputFolder(path);
        folder =
            CreateFileW(path.c_str(), FILE_LIST_DIRECTORY,
                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr);
        QueryPerformanceCounter(&start);
        watcher = std::thread([this] { Watch(); });
    }
    ~CurrentImageWatch() {
        SetEvent(stop);
        watcher.join();
        CloseHandle(folder);
        CloseHandle(changed.hEvent);
        CloseHandle(stop);
    }
    CurrentImageWatch(const CurrentImageWatch&) = delete;
    CurrentImageWatch& operator=(const CurrentImageWatch&) = delete;

    // Seconds from the start to the Current Image, or -1 until it is there.
    double Seconds() const { return seconds; }

private:
    void Watch() {
        alignas(DWORD) BYTE buffer[4096];
        while (seconds < 0) {
            if (!ReadDirectoryChangesW(folder, buffer, sizeof buffer, FALSE,
                                       FILE_NOTIFY_CHANGE_FILE_NAME, nullptr, &changed, nullptr)) {
                return;
            }
            const HANDLE events[] = {changed.hEvent, stop};
            const bool stopped =
                WaitForMultipleObjects(2, events, FALSE, INFINITE) != WAIT_OBJECT_0;
            if (stopped) {
                CancelIo(folder);
            }
            DWORD bytes = 0;
            GetOverlappedResult(folder, &changed, &bytes, TRUE);
            if (stopped) {
                return;
            }
            for (DWORD offset = 0; bytes > 0;) {
                const auto* entry =
                    reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(buffer + offset);
                const std::wstring_view name(entry->FileName,
                                             entry->FileNameLength / sizeof(wchar_t));
                if ((entry->Action == FILE_ACTION_RENAMED_NEW_NAME ||
                     entry->Action == FILE_ACTION_ADDED) &&
                    name == L"Pembrix Gloamery Current Image.bmp") {
                    seconds = SecondsSince(start);
                }
                if (entry->NextEntryOffset == 0) {
                    break;
                }
                offset += entry->NextEntryOffset;
            }
        }
    }

    HANDLE folder = INVALID_HANDLE_VALUE;
    OVERLAPPED changed{0, 0, {}, CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    HANDLE stop = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    LARGE_INTEGER start{};
    double seconds = -1;
    std::thread watcher;
};

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
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
    std::vector<double> pictureSeconds;
    for (int i = 0; i < runs; ++i) {
        LARGE_INTEGER start{};
        const CurrentImageWatch watch;
        QueryPerformanceCounter(&start);
        if (desktop) {
            ComposeWallpaper(settings);
        } else {
            ComposeWallpaperAt(settings, utc, kScreenWidth, kScreenHeight);
        }
        seconds.push_back(SecondsSince(start));
        pictureSeconds.push_back(watch.Seconds());
        if (settings.GetProgress() == 0) {
            std::fwprintf(stderr, L"the update did not complete\n");
            return 1;
        }
    }
    const PROCESS_MEMORY_COUNTERS peak = PeakMemory();
    constexpr double kMib = 1024.0 * 1024.0;
    // Under Wine the private-bytes counter does not follow the program's allocations; the
    // script that runs this samples them from the host.
    std::wprintf(L"%ux%u %-8ls median of %d: %.3f s, Current Image at %.3f s   peak working set "
                 L"%.0f MiB",
                 width, width / 2, dayAndNight ? L"daynight" : L"day", runs, Median(seconds),
                 Median(pictureSeconds), static_cast<double>(peak.PeakWorkingSetSize) / kMib);
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
