#pragma once
// The sun for one UTC instant, worked out once and then asked for its altitude over many points.

#include <cstdint>

struct SunInstant {
    double julianDate = 0;    // 0.0 for a clock outside 1 March 1900 - 31 December 2099
    double universalTime = 0; // decimal hours
    double rightAscension = 0;
    double declination = 0;
};

SunInstant SunInstantAt(std::uint32_t year, std::uint32_t month, std::uint32_t day,
                        std::uint32_t hour, std::uint32_t minute, std::uint32_t second);

// The sun's altitude, degrees, over a point at that instant.
double AltitudeAt(const SunInstant& sun, double longitude, double latitude);
