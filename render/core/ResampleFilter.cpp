#include "render/core/ResampleFilter.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace {

// The Catmull-Rom cubic: one at zero distance, zero at every other whole distance.
double CatmullRom(double distance) {
    const double d = std::abs(distance);
    if (d < 1) {
        return (1.5 * d - 2.5) * d * d + 1;
    }
    if (d < 2) {
        return ((-0.5 * d + 2.5) * d - 4) * d + 2;
    }
    return 0;
}

} // namespace

FilterTable MakeFilterTable(int sourceLength, int destinationLength) {
    const double step = static_cast<double>(sourceLength) / destinationLength;
    const bool shrinking = sourceLength >= destinationLength;
    FilterTable table;
    // A span of `step` pixels starting anywhere touches at most ceil(step) + 1 of them.
    table.taps = shrinking ? static_cast<int>(std::ceil(step)) + 1 : 4;
    table.first.resize(static_cast<std::size_t>(destinationLength));
    table.weights.resize(static_cast<std::size_t>(destinationLength) * table.taps);
    for (int pixel = 0; pixel < destinationLength; ++pixel) {
        float* weights = &table.weights[static_cast<std::size_t>(pixel) * table.taps];
        if (shrinking) {
            // Formed as products of whole numbers first, so whole-number ends come out exact.
            const double from = static_cast<double>(pixel) * sourceLength / destinationLength;
            const double to = static_cast<double>(pixel + 1) * sourceLength / destinationLength;
            const int first = static_cast<int>(std::floor(from));
            table.first[pixel] = first;
            for (int tap = 0; tap < table.taps; ++tap) {
                const double overlap =
                    std::min<double>(first + tap + 1, to) - std::max<double>(first + tap, from);
                weights[tap] = static_cast<float>(std::max(overlap, 0.0) / step);
            }
        } else {
            // Pixel centres line up: destination centre x + 0.5 sits at source (x + 0.5) * step.
            const double centre = (pixel + 0.5) * step - 0.5;
            const int first = static_cast<int>(std::floor(centre)) - 1;
            table.first[pixel] = first;
            for (int tap = 0; tap < table.taps; ++tap) {
                weights[tap] = static_cast<float>(CatmullRom(first + tap - centre));
            }
        }
    }
    return table;
}
