#include "solar/SunInstant.h"

#include "solar/Extended.h"
#include "solar/SolarConstants.h"
#include "solar/SolarModel.h"

using namespace solar;

SunInstant SunInstantAt(std::uint32_t year, std::uint32_t month, std::uint32_t day,
                        std::uint32_t hour, std::uint32_t minute, std::uint32_t second) {
    SunInstant sun;
    sun.julianDate = JulianDate(year, month, day, hour, minute, second);
    sun.universalTime =
        StoreDouble(static_cast<Extended>(second) * kOneThreeThousandSixHundredth +
                    static_cast<Extended>(minute) * kOneSixtieth + static_cast<Extended>(hour));
    SunPosition(sun.julianDate, sun.rightAscension, sun.declination);
    return sun;
}

double AltitudeAt(const SunInstant& sun, double longitude, double latitude) {
    double altitude = 0;
    SolarAltitude(sun.julianDate, sun.universalTime, longitude, latitude, sun.rightAscension,
                  sun.declination, altitude);
    return altitude;
}
