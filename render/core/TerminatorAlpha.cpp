#include "render/core/TerminatorAlpha.h"

#include <algorithm>
#include <cmath>

std::optional<std::uint8_t> NightAlphaForAltitude(double altitude) {
    if (altitude >= 0.0) {
        return std::nullopt;
    }
    if (altitude > kTwilightEdgeDegrees) {
        const double steps = std::ceil(-altitude * kAlphaPerDegree) - 1.0;
        // Rounding of the product right at the edge could reach 255, which belongs to the
        // band's outside only.
        return static_cast<std::uint8_t>(std::clamp(steps, 0.0, 254.0));
    }
    return std::uint8_t{255};
}
