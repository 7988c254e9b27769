#include "solar/Angles.h"

#include <cmath>
#include <limits>

#include "solar/Extended.h"

using namespace solar;

namespace {

// Beyond this many degrees stepping by whole turns would take too long (and would never end for
// values whose spacing exceeds a turn), so the angle is reduced by an exact remainder first.
constexpr Extended kSteppingLimit = 360.0L * 1048576.0L;

// Steps in extended precision so that values a hair below 0 or 360 keep their quadrant.
Extended NormalizeExtended(Extended angle) {
    if (!std::isfinite(angle)) {
        return std::numeric_limits<Extended>::quiet_NaN();
    }
    if (std::fabs(angle) > kSteppingLimit) {
        angle = std::fmod(angle, Extended{360});
    }
    while (!(angle >= 0)) {
        angle += 360;
    }
    while (angle >= 360) {
        angle -= 360;
    }
    return angle;
}

} // namespace

double NormalizeDegrees(double angle) {
    const double normalized = StoreDouble(NormalizeExtended(angle));
    // A value just below 360 may round up to it; that is the same direction as 0.
    return normalized >= 360.0 ? 0.0 : normalized;
}

std::int32_t QuadrantOf(double angle) {
    const Extended normalized = NormalizeExtended(angle);
    if (normalized >= 0 && normalized < 90) {
        return 1;
    }
    if (normalized >= 90 && normalized < 180) {
        return 2;
    }
    if (normalized >= 180 && normalized < 270) {
        return 3;
    }
    if (normalized >= 270 && normalized < 360) {
        return 4;
    }
    return 0;
}
