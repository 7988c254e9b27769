#pragma once
// The terminator blend written the plain way, as the yardstick for the fast kernel: every
// pixel, column by column and top to bottom, with the altitude routine called for each one.

#include <cstdint>
#include <vector>

#include "render/core/TerminatorImage.h"
#include "solar/SunInstant.h"

void BlendTerminatorReference(const SunInstant& sun, ArgbImage day, ConstArgbImage night);

// An owned ARGB image for tests and benchmarks.
struct ArgbBuffer {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::vector<std::uint32_t> pixels;

    ArgbBuffer() = default;
    ArgbBuffer(std::uint32_t width, std::uint32_t height, std::uint32_t fill = 0)
        : width(width), height(height), pixels(static_cast<std::size_t>(width) * height, fill) {}

    ArgbImage View() { return {pixels.data(), width, height}; }
    ConstArgbImage View() const { return {pixels.data(), width, height}; }
    // Out of range throws, so a test fails instead of crashing.
    std::uint32_t At(std::uint32_t column, std::uint32_t row) const {
        return pixels.at(static_cast<std::size_t>(row) * width + column);
    }
};
