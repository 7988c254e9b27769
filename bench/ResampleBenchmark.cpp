// The resampler drawing a whole 1920 x 1080 wallpaper at 18:30 UTC (two pieces, joined at the
// map's edge): from an 8192 x 4096 map (the strip shrunk by about 3.8) and from a 2048 x 1024
// map (enlarged by about 1.05), in 24-bit and 32-bit pixels.
#include <benchmark/benchmark.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <random>
#include <vector>

#include "render/core/Resampler.h"

namespace {

constexpr int kScreenWidth = 1920;
constexpr int kScreenHeight = 1080;

// Rows padded to four bytes, as bitmaps lay them out.
struct Bitmap {
    Bitmap(int width, int height, int bytesPerPixel)
        : stride((width * bytesPerPixel + 3) & ~3),
          bytes(static_cast<std::size_t>(stride) * height), view{bytes.data(), width, height,
                                                                 stride, bytesPerPixel} {}
    int stride;
    std::vector<std::uint8_t> bytes;
    PixelView view;
};

void ResampleWallpaperOnto1080p(benchmark::State& state) {
    const auto width = static_cast<int>(state.range(0));
    const auto height = static_cast<int>(state.range(1));
    const auto bytesPerPixel = static_cast<int>(state.range(2));
    Bitmap map(width, height, bytesPerPixel);
    std::mt19937 random(width);
    for (std::uint8_t& byte : map.bytes) {
        byte = static_cast<std::uint8_t>(random());
    }
    Bitmap screen(kScreenWidth, kScreenHeight, bytesPerPixel);
    const auto geometry =
        ComputeWallpaperGeometry(width, height, width / 2, 18, 30, kScreenWidth, kScreenHeight);
    if (!geometry) {
        state.SkipWithError("no geometry");
        return;
    }
    const std::function<bool()> neverStop = [] { return false; };
    for (auto _ : state) {
        benchmark::DoNotOptimize(ResampleWallpaper(map.view, *geometry, screen.view, neverStop));
        benchmark::ClobberMemory();
    }
    state.counters["ns/pixel"] = benchmark::Counter(
        static_cast<double>(kScreenWidth) * kScreenHeight,
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

} // namespace

BENCHMARK(ResampleWallpaperOnto1080p)
    ->Args({8192, 4096, 3})
    ->Args({2048, 1024, 3})
    ->Args({8192, 4096, 4})
    ->Args({2048, 1024, 4})
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);

BENCHMARK_MAIN();
