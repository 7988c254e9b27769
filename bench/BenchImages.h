#pragma once
// Day and night maps of noise for the benchmarks, made once per size.

#include <cstdint>
#include <random>

#include "TerminatorReference.h"

struct BenchMaps {
    ArgbBuffer day;
    ArgbBuffer night;
};

inline BenchMaps MakeBenchMaps(std::uint32_t width, std::uint32_t height) {
    BenchMaps maps{ArgbBuffer(width, height), ArgbBuffer(width, height)};
    std::mt19937 random(width ^ (height << 16));
    for (std::uint32_t& pixel : maps.day.pixels) {
        pixel = 0xFF000000u | (random() & 0x00FFFFFFu);
    }
    for (std::uint32_t& pixel : maps.night.pixels) {
        pixel = 0xFF000000u | (random() & 0x00FFFFFFu);
    }
    return maps;
}
