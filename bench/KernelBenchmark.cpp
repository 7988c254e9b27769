// The in-memory blend against the per-pixel loop that calls the altitude routine for every
// pixel, on the two map sizes that matter: 2048 x 1024 and 8192 x 4096.
#include <benchmark/benchmark.h>

#include <map>
#include <utility>

#include "BenchImages.h"
#include "render/core/TerminatorKernel.h"
#include "render/core/TerminatorProgress.h"
#include "solar/SolarAltitude.h"
#include "solar/SunInstant.h"

namespace {

// The instant of every run: late autumn, so that the night covers the north pole.
const SunInstant kSun = SunInstantAt(2003, 11, 17, 1, 24, 17);

const BenchMaps& MapsOfSize(std::uint32_t width, std::uint32_t height) {
    static std::map<std::pair<std::uint32_t, std::uint32_t>, BenchMaps> cache;
    auto found = cache.find({width, height});
    if (found == cache.end()) {
        found = cache.emplace(std::pair{width, height}, MakeBenchMaps(width, height)).first;
    }
    return found->second;
}

// Does what the renderer's gate does per column, minus the lock.
class ProgressGate : public ColumnGate {
public:
    explicit ProgressGate(std::uint32_t width) : progress(width) {}
    bool Enter(std::uint32_t column) override {
        last = progress.Before(column);
        benchmark::DoNotOptimize(last);
        return true;
    }

private:
    ColumnProgress progress;
    int last = 0;
};

template <typename Blend> void RunBlend(benchmark::State& state, Blend blend) {
    const auto width = static_cast<std::uint32_t>(state.range(0));
    const auto height = static_cast<std::uint32_t>(state.range(1));
    const BenchMaps& maps = MapsOfSize(width, height);
    ArgbBuffer day(width, height);
    for (auto _ : state) {
        state.PauseTiming();
        day.pixels = maps.day.pixels;
        state.ResumeTiming();
        blend(day.View(), maps.night.View());
        benchmark::ClobberMemory();
    }
    state.counters["ns/pixel"] = benchmark::Counter(static_cast<double>(width) * height,
                                                    benchmark::Counter::kIsIterationInvariantRate |
                                                        benchmark::Counter::kInvert);
}

void KernelBlend(benchmark::State& state) {
    RunBlend(state, [width = static_cast<std::uint32_t>(state.range(0))](ArgbImage day,
                                                                         ConstArgbImage night) {
        ProgressGate gate(width);
        BlendTerminator(kSun, day, night, gate);
    });
}

void PerPixelReference(benchmark::State& state) {
    RunBlend(state, [](ArgbImage day, ConstArgbImage night) {
        BlendTerminatorReference(kSun, day, night);
    });
}

void OneSolarAltitude(benchmark::State& state) {
    double latitude = -89.5;
    for (auto _ : state) {
        double altitude = 0;
        SolarAltitude(kSun.julianDate, kSun.universalTime, 12.5, latitude, kSun.rightAscension,
                      kSun.declination, altitude);
        benchmark::DoNotOptimize(altitude);
        latitude = latitude > 89.0 ? -89.5 : latitude + 0.25;
    }
}

} // namespace

BENCHMARK(KernelBlend)
    ->Args({2048, 1024})
    ->Args({8192, 4096})
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);
BENCHMARK(PerPixelReference)
    ->Args({2048, 1024})
    ->Args({8192, 4096})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);
BENCHMARK(OneSolarAltitude)->Unit(benchmark::kNanosecond);

BENCHMARK_MAIN();
