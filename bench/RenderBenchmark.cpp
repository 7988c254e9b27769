// Times the whole terminator render under Wine (load, blend, save) on 2048 x 1024 and
// 8192 x 4096 maps: the in-memory path of the program against the literal GDI+ stroke path.
//   terminator_render_bench [fast runs] [stroke runs at 2048] [stroke runs at 8192]
// Prints the median of each, and how far the two pictures differ.
#include <windows.h>

#include <gdiplus.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "BenchImages.h"
#include "StrokeTerminatorRenderer.h"
#include "render/EncoderClsid.h"
#include "render/GdiplusBitmapFile.h"
#include "render/GdiplusOwners.h"
#include "render/GdiplusSession.h"
#include "render/TerminatorRenderer.h"
#include "render/core/TerminatorAlpha.h"
#include "render/core/TerminatorGeometry.h"
#include "render/core/TerminatorKernel.h"
#include "settings/SettingsStore.h"
#include "solar/SunInstant.h"

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

namespace {

struct MapSize {
    UINT width;
    UINT height;
};

// A smooth picture with fine detail, so that neither encoder nor blend sees a flat field.
ARGB MapColour(UINT x, UINT y, UINT seed) {
    UINT value = x * 73856093u ^ y * 19349663u ^ seed * 83492791u;
    value ^= value >> 13;
    const UINT red = (x * 255 / 2048 + (value & 15)) & 0xFF;
    const UINT green = (y * 255 / 1024 + (value >> 4 & 15)) & 0xFF;
    const UINT blue = ((x + y) * 3 + seed * 40 + (value >> 8 & 15)) & 0xFF;
    return 0xFF000000u | red << 16 | green << 8 | blue;
}

bool WriteMap(const std::wstring& path, MapSize size, UINT seed) {
    UniqueGdipBitmap bitmap;
    if (GdipCreateBitmapFromScan0(static_cast<INT>(size.width), static_cast<INT>(size.height), 0,
                                  PixelFormat24bppRGB, nullptr, bitmap.put()) != Ok) {
        return false;
    }
    Rect all(0, 0, static_cast<INT>(size.width), static_cast<INT>(size.height));
    BitmapData data{};
    if (GdipBitmapLockBits(bitmap.get(), &all, ImageLockModeWrite, PixelFormat32bppARGB, &data) !=
        Ok) {
        return false;
    }
    for (UINT y = 0; y < size.height; ++y) {
        auto* row = reinterpret_cast<ARGB*>(static_cast<BYTE*>(data.Scan0) +
                                            static_cast<ptrdiff_t>(y) * data.Stride);
        for (UINT x = 0; x < size.width; ++x) {
            row[x] = MapColour(x, y, seed);
        }
    }
    GdipBitmapUnlockBits(bitmap.get(), &data);
    CLSID bmp{};
    return GetEncoderClsid(L"image/bmp", bmp) >= 0 &&
           GdipSaveImageToFile(bitmap.get(), path.c_str(), &bmp, nullptr) == Ok;
}

double Seconds(const std::function<void()>& run) {
    LARGE_INTEGER frequency{};
    LARGE_INTEGER start{};
    LARGE_INTEGER end{};
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    run();
    QueryPerformanceCounter(&end);
    return static_cast<double>(end.QuadPart - start.QuadPart) / frequency.QuadPart;
}

double Median(std::vector<double> values) {
    if (values.empty()) {
        return 0;
    }
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

std::vector<ARGB> ReadPixels(const std::wstring& path, MapSize size) {
    std::vector<ARGB> pixels(static_cast<size_t>(size.width) * size.height);
    const UniqueGdipBitmap bitmap = LoadBitmapFromFile(path);
    Rect all(0, 0, static_cast<INT>(size.width), static_cast<INT>(size.height));
    BitmapData data{};
    data.Width = size.width;
    data.Height = size.height;
    data.Stride = static_cast<INT>(size.width * 4);
    data.PixelFormat = PixelFormat32bppARGB;
    data.Scan0 = pixels.data();
    if (!bitmap ||
        GdipBitmapLockBits(bitmap.get(), &all, ImageLockModeRead | ImageLockModeUserInputBuf,
                           PixelFormat32bppARGB, &data) != Ok) {
        return {};
    }
    GdipBitmapUnlockBits(bitmap.get(), &data);
    return pixels;
}

// Pixels whose colour differs at all, by more than one level in some channel, and without a
// night sample at the upper-left neighbour (whose stroke also reaches this pixel).
void CompareOutputs(const std::wstring& fast, const std::wstring& stroke, MapSize size,
                    const SYSTEMTIME& utc) {
    const std::vector<ARGB> a = ReadPixels(fast, size);
    const std::vector<ARGB> b = ReadPixels(stroke, size);
    if (a.empty() || a.size() != b.size()) {
        std::printf("  outputs could not be compared\n");
        return;
    }
    const SunInstant sun =
        SunInstantAt(utc.wYear, utc.wMonth, utc.wDay, utc.wHour, utc.wMinute, utc.wSecond);
    const double step = LatitudeStep(size.height);
    const auto isNightSample = [&](UINT column, UINT row) {
        return NightAlphaForAltitude(
                   AltitudeAt(sun, ColumnLongitude(column, size.width), RowLatitude(row, step)))
            .has_value();
    };
    size_t differing = 0;
    size_t beyondOneLevel = 0;
    size_t unexplained = 0;
    int largest = 0;
    int largestUnexplained = 0;
    for (UINT row = 0; row < size.height; ++row) {
        for (UINT column = 0; column < size.width; ++column) {
            const size_t i = static_cast<size_t>(row) * size.width + column;
            int worst = 0;
            for (int shift = 0; shift < 24; shift += 8) {
                worst = std::max(worst, std::abs(static_cast<int>((a[i] >> shift) & 0xFF) -
                                                 static_cast<int>((b[i] >> shift) & 0xFF)));
            }
            if (worst == 0) {
                continue;
            }
            ++differing;
            beyondOneLevel += worst > 1;
            largest = std::max(largest, worst);
            if (column == 0 || row == 0 || !isNightSample(column - 1, row - 1)) {
                ++unexplained;
                largestUnexplained = std::max(largestUnexplained, worst);
            }
        }
    }
    std::printf("  fast vs stroke picture: %zu of %zu pixels differ (%zu by more than one "
                "level, largest %d); %zu of them without a night sample up-left (largest %d)\n",
                differing, a.size(), beyondOneLevel, largest, unexplained, largestUnexplained);
}

struct OpenGate : ColumnGate {
    bool Enter(std::uint32_t) override { return true; }
};

// The blend alone, in memory, as this build compiles it (x87 arithmetic on 32-bit).
double MedianKernelSeconds(MapSize size, const SYSTEMTIME& utc, int runs) {
    const BenchMaps maps = MakeBenchMaps(size.width, size.height);
    const SunInstant sun =
        SunInstantAt(utc.wYear, utc.wMonth, utc.wDay, utc.wHour, utc.wMinute, utc.wSecond);
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        ArgbBuffer day = maps.day;
        OpenGate gate;
        times.push_back(
            Seconds([&] { BlendTerminator(sun, day.View(), maps.night.View(), gate); }));
    }
    return Median(times);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const int fastRuns = argc > 1 ? _wtoi(argv[1]) : 5;
    const int strokeRuns[] = {argc > 2 ? _wtoi(argv[2]) : 3, argc > 3 ? _wtoi(argv[3]) : 1};
    const GdiplusSession gdiplus;
    if (!gdiplus.Started()) {
        std::printf("GDI+ did not start\n");
        return 1;
    }
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + L"gloamery-bench";
    CreateDirectoryW(folder.c_str(), nullptr);

    SYSTEMTIME utc{};
    utc.wYear = 2003;
    utc.wMonth = 11;
    utc.wDay = 17;
    utc.wHour = 1;
    utc.wMinute = 24;
    utc.wSecond = 17;

    const MapSize sizes[] = {{2048, 1024}, {8192, 4096}};
    for (int index = 0; index < 2; ++index) {
        const MapSize size = sizes[index];
        const std::wstring stem = folder + L"\\" + std::to_wstring(size.width);
        const std::wstring dayPath = stem + L"-day.bmp";
        const std::wstring nightPath = stem + L"-night.bmp";
        if (!WriteMap(dayPath, size, 1) || !WriteMap(nightPath, size, 2)) {
            std::printf("could not write the %ux%u maps\n", size.width, size.height);
            return 1;
        }
        SettingsStore settings;
        settings.SetSrcImgPath(dayPath);
        settings.SetSrc2ImgPath(nightPath);

        std::printf("%ux%u  blend kernel alone:                     median %.1f ms of %d runs\n",
                    size.width, size.height, 1000 * MedianKernelSeconds(size, utc, 5), 5);
        std::vector<double> fast;
        const std::wstring fastOutput = stem + L"-fast.bmp";
        for (int run = 0; run < fastRuns; ++run) {
            fast.push_back(Seconds([&] { RenderTerminatorImageAt(fastOutput, settings, utc); }));
        }
        std::printf("%ux%u  in-memory blend (load, blend, save): median %.3f s of %d runs\n",
                    size.width, size.height, Median(fast), fastRuns);
        std::fflush(stdout);

        std::vector<double> stroke;
        const std::wstring strokeOutput = stem + L"-stroke.bmp";
        for (int run = 0; run < strokeRuns[index]; ++run) {
            stroke.push_back(
                Seconds([&] { RenderTerminatorImageWithStrokes(strokeOutput, settings, utc); }));
        }
        if (!stroke.empty()) {
            std::printf("%ux%u  GDI+ stroke per night pixel:          median %.3f s of %d runs; "
                        "in-memory blend is %.0f times faster\n",
                        size.width, size.height, Median(stroke), strokeRuns[index],
                        Median(stroke) / Median(fast));
            CompareOutputs(fastOutput, strokeOutput, size, utc);
        }
        std::fflush(stdout);
        for (const std::wstring& path : {dayPath, nightPath, fastOutput, strokeOutput}) {
            DeleteFileW(path.c_str());
        }
    }
    RemoveDirectoryW(folder.c_str());
    return 0;
}
