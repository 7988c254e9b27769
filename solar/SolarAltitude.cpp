#include "solar/SolarAltitude.h"

#include <algorithm>
#include <cmath>

#include "solar/Extended.h"
#include "solar/HourAngle.h"
#include "solar/SolarConstants.h"

using namespace solar;

void SolarAltitude(double julianDate, double universalTime, double longitude, double latitude,
                   double rightAscension, double declination, double& altitude) {
    const Extended latitudeRadians = StoreDouble(Extended{latitude} * kDegreesToRadians);
    const Extended declinationRadians = StoreDouble(Extended{declination} * kDegreesToRadians);

    const Extended hourAngle =
        HourAngleDegrees(julianDate, universalTime, longitude, rightAscension);

    const Extended sine = std::cos(hourAngle * kDegreesToRadians) * std::cos(declinationRadians) *
                              std::cos(latitudeRadians) +
                          std::sin(declinationRadians) * std::sin(latitudeRadians);
    // Rounding can carry the sine a hair past +-1 where the sun stands at the zenith or nadir.
    const Extended clamped = std::clamp(sine, Extended{-1}, Extended{1});
    altitude = StoreDouble(std::asin(clamped) * kRadiansToDegrees);
}
