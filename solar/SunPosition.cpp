#include "solar/SunPosition.h"

#include <cmath>

#include "solar/Angles.h"
#include "solar/Extended.h"
#include "solar/SolarConstants.h"

using namespace solar;

namespace {

Extended SinDegrees(Extended degrees) {
    return std::sin(degrees * kDegreesToRadians);
}
Extended CosDegrees(Extended degrees) {
    return std::cos(degrees * kDegreesToRadians);
}

// Adding a quarter turn moves to the next quadrant, so four steps always suffice; the bound
// only matters for inputs that are not finite.
constexpr int kMaxQuadrantSteps = 4;

} // namespace

void SunPosition(double julianDate, double& rightAscension, double& declination) {
    const Extended t = (Extended{julianDate} - kJ2000) * kCenturiesPerDay;
    const Extended t2 = t * t;
    const Extended t3 = t2 * t;

    const Extended meanAnomaly = kAnomaly0 + kAnomaly1 * t - kAnomaly2 * t2 - kAnomaly3 * t3;
    const Extended centre = (kCentre0 - kCentre1 * t - kCentre2 * t2) * SinDegrees(meanAnomaly) +
                            (kCentre3 - kCentre4 * t) * SinDegrees(2 * meanAnomaly) +
                            kCentre5 * SinDegrees(3 * meanAnomaly);
    const Extended meanLongitude = kMeanLongitude0 + kMeanLongitude1 * t + kMeanLongitude2 * t2;
    const Extended trueLongitude = meanLongitude + centre;
    const double trueLongitudeStored = StoreDouble(trueLongitude);

    const Extended obliquity = kObliquityRadians;
    const double declinationSine = StoreDouble(std::sin(obliquity) * SinDegrees(trueLongitude));

    // The one-argument arc tangent lands within +-90 degrees: either on the right ascension or
    // half a turn away from it. The true value lies in the longitude's quadrant.
    const Extended tangent =
        std::cos(obliquity) * SinDegrees(trueLongitude) / CosDegrees(trueLongitude);
    double ascension = StoreDouble(std::atan(tangent) * kRadiansToDegrees);
    const std::int32_t wanted = QuadrantOf(trueLongitudeStored);
    for (int step = 0; step < kMaxQuadrantSteps && QuadrantOf(ascension) != wanted; ++step) {
        ascension = StoreDouble(Extended{ascension} + 90.0);
    }

    rightAscension = ascension;
    declination = StoreDouble(std::asin(Extended{declinationSine}) * kRadiansToDegrees);
}
