#include <cmath>

#include <gtest/gtest.h>

#include "solar/Angles.h"
#include "solar/JulianDate.h"
#include "solar/SolarAltitude.h"
#include "solar/SolarConstants.h"
#include "solar/SunPosition.h"

namespace {

struct Instant {
    double julianDate = 0;
    double universalTime = 0;
    double rightAscension = 0;
    double declination = 0;
};

Instant MakeInstant(unsigned year, unsigned month, unsigned day, unsigned hour, unsigned minute,
                    unsigned second) {
    Instant instant;
    instant.julianDate = JulianDate(year, month, day, hour, minute, second);
    instant.universalTime = second * (1.0 / 3600) + minute * (1.0 / 60) + hour;
    SunPosition(instant.julianDate, instant.rightAscension, instant.declination);
    return instant;
}

double Altitude(const Instant& at, double longitude, double latitude) {
    double altitude = 0;
    SolarAltitude(at.julianDate, at.universalTime, longitude, latitude, at.rightAscension,
                  at.declination, altitude);
    return altitude;
}

// The longitude where the sun is due south or north (hour angle 0), in [-180, 180).
double SubSolarLongitude(const Instant& at) {
    const double siderealOffset = (at.julianDate - solar::kJ2000) * solar::kSiderealPerDay +
                                  solar::kDegreesPerHour * at.universalTime + solar::kSidereal0;
    return NormalizeDegrees(at.rightAscension - siderealOffset + 180.0) - 180.0;
}

double Wrap180(double longitude) {
    return NormalizeDegrees(longitude + 180.0) - 180.0;
}

} // namespace

TEST(SolarAltitude, KnownValuesAtJ2000Noon) {
    const Instant j2000 = MakeInstant(2000, 1, 1, 12, 0, 0);
    EXPECT_NEAR(Altitude(j2000, 0.0, 0.0), 66.952556, 5e-7);
    EXPECT_NEAR(Altitude(j2000, 180.0, 0.0), -66.952556, 5e-7);
    // At the pole the altitude is the declination at any longitude.
    EXPECT_NEAR(Altitude(j2000, 0.0, 90.0), -23.033210, 5e-7);
    EXPECT_NEAR(Altitude(j2000, 123.0, 90.0), -23.033210, 5e-7);
    EXPECT_NEAR(Altitude(j2000, -77.0, -90.0), 23.033210, 5e-7);
}

TEST(SolarAltitude, SunAtZenithOverTheSubSolarPointAndAtNadirOverItsAntipode) {
    for (unsigned month = 1; month <= 12; ++month) {
        for (unsigned hour = 0; hour < 24; hour += 5) {
            const Instant at = MakeInstant(1950 + month * 11, month, 3 + month, hour, 7 * month, 0);
            const double longitude = SubSolarLongitude(at);
            const double zenith = Altitude(at, longitude, at.declination);
            const double nadir = Altitude(at, Wrap180(longitude + 180.0), -at.declination);
            ASSERT_FALSE(std::isnan(zenith));
            ASSERT_FALSE(std::isnan(nadir));
            EXPECT_NEAR(zenith, 90.0, 1e-5) << month << " " << hour;
            EXPECT_NEAR(nadir, -90.0, 1e-5) << month << " " << hour;
        }
    }
}

TEST(SolarAltitude, StaysDefinedWhereRoundingReachesTheZenith) {
    double altitude = 0;
    SolarAltitude(2451545.0, 12.0, 0.0, 90.0, 0.0, 90.0, altitude);
    EXPECT_NEAR(altitude, 90.0, 1e-5);
    SolarAltitude(2451545.0, 12.0, 0.0, -90.0, 0.0, -90.0, altitude);
    EXPECT_NEAR(altitude, 90.0, 1e-5);
    SolarAltitude(2451545.0, 12.0, 0.0, 90.0, 0.0, -90.0, altitude);
    EXPECT_NEAR(altitude, -90.0, 1e-5);
}

// East and west of the sun's meridian by the same angle the sun stands equally high; mirroring
// latitude and declination together changes nothing either.
TEST(SolarAltitude, SymmetricAboutTheSunsMeridianAndTheEquator) {
    const Instant at = MakeInstant(2017, 8, 21, 18, 25, 0);
    const double noon = SubSolarLongitude(at);
    for (double offset = 5.0; offset < 180.0; offset += 17.5) {
        for (double latitude = -85.0; latitude <= 85.0; latitude += 12.5) {
            EXPECT_NEAR(Altitude(at, Wrap180(noon + offset), latitude),
                        Altitude(at, Wrap180(noon - offset), latitude), 1e-9);
        }
    }
    for (double latitude = -80.0; latitude <= 80.0; latitude += 20.0) {
        double mirrored = 0;
        SolarAltitude(at.julianDate, at.universalTime, 40.0, -latitude, at.rightAscension,
                      -at.declination, mirrored);
        EXPECT_NEAR(Altitude(at, 40.0, latitude), mirrored, 1e-9);
    }
}

// The altitude must follow the clock: a quarter of a day later the same place has turned a
// quarter turn further, which is where the sun stood 90 degrees of longitude to the east.
TEST(SolarAltitude, TimeAndLongitudeTurnTogether) {
    const Instant morning = MakeInstant(2040, 4, 2, 6, 0, 0);
    Instant noonish = morning;
    noonish.julianDate += 0.25;
    noonish.universalTime += 6.0;
    // Keep the sun's coordinates fixed: only the rotation of the Earth is under test. Six
    // hours of UT add 90 degrees and the day count adds 0.25 x 0.985647 on top of that.
    const double turn = 90.0 + 0.25 * solar::kSiderealPerDay;
    for (double latitude = -60.0; latitude <= 60.0; latitude += 30.0) {
        EXPECT_NEAR(Altitude(noonish, -100.0, latitude), Altitude(morning, -100.0 + turn, latitude),
                    1e-7);
    }
}
