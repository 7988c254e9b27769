#pragma once
// The sun's hour angle at a place: local sidereal time minus right ascension, in degrees and
// not reduced. Shared by the altitude routine and by callers that hoist it out of pixel loops.

#include "solar/Extended.h"
#include "solar/SolarConstants.h"

namespace solar {

// The day count since J2000.0 already holds the fraction of the day; the 15 degrees per hour of
// UT come on top of it. Summed in this order.
inline Extended HourAngleDegrees(double julianDate, double universalTime, double longitude,
                                 double rightAscension) {
    return (Extended{julianDate} - kJ2000) * kSiderealPerDay +
           kDegreesPerHour * Extended{universalTime} + longitude + kSidereal0 - rightAscension;
}

} // namespace solar
