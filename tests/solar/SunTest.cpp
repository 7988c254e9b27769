#include <cmath>
#include <limits>
#include <thread>

#include <gtest/gtest.h>

#include "solar/Angles.h"
#include "solar/JulianDate.h"
#include "solar/SolarAltitude.h"
#include "solar/SolarConstants.h"
#include "solar/SunPosition.h"

namespace {

struct Sun {
    double julianDate = 0;
    double universalTime = 0;
    double rightAscension = 0;
    double declination = 0;
};

Sun SunAt(double julianDate, double universalTime = 0) {
    Sun sun{julianDate, universalTime};
    SunPosition(julianDate, sun.rightAscension, sun.declination);
    return sun;
}

double Altitude(const Sun& sun, double longitude, double latitude) {
    double altitude = 0;
    SolarAltitude(sun.julianDate, sun.universalTime, longitude, latitude, sun.rightAscension,
                  sun.declination, altitude);
    return altitude;
}

} // namespace

// At J2000 the longitude lies in the fourth quadrant; at the June 2024 solstice the quadrant
// correction adds half a turn.
TEST(SunPosition, KnownValues) {
    const Sun j2000 = SunAt(2451545.0);
    EXPECT_NEAR(j2000.rightAscension, -78.707123, 5e-7);
    EXPECT_NEAR(j2000.declination, -23.033210, 5e-7);
    const Sun solstice = SunAt(2460483.0);
    EXPECT_NEAR(solstice.rightAscension, 90.664924, 5e-7);
    EXPECT_NEAR(solstice.declination, 23.437883, 5e-7);
    // Julian date 0, what a clock outside the valid years gives, is computed like any other.
    const Sun zero = SunAt(0.0);
    EXPECT_TRUE(std::isfinite(zero.rightAscension));
    EXPECT_LE(std::fabs(zero.declination), 23.44);
}

// Day by day over the valid years: the declination stays within the obliquity, right ascension
// and declination belong to one point of the ecliptic (tan d = tan e sin a, which fails when the
// quadrant correction lands half a turn off) and the right ascension never moves further than
// the sun does in a day.
TEST(SunPosition, DailySweepOverTheValidYearsIsContinuousAndOnTheEcliptic) {
    const double tanObliquity = std::tan(solar::kObliquityRadians);
    Sun previous = SunAt(JulianDate(1900, 3, 1, 0, 0, 0));
    double northmost = 0;
    for (double day = previous.julianDate + 1; day <= JulianDate(2099, 12, 31, 0, 0, 0); ++day) {
        const Sun sun = SunAt(day);
        ASSERT_LE(std::fabs(sun.declination), 23.44) << day;
        const double step = NormalizeDegrees(sun.rightAscension - previous.rightAscension);
        ASSERT_GT(step, 0.85) << day;
        ASSERT_LT(step, 1.15) << day;
        ASSERT_NEAR(std::tan(sun.declination * solar::kDegreesToRadians),
                    tanObliquity * std::sin(sun.rightAscension * solar::kDegreesToRadians), 1e-9)
            << day;
        northmost = std::fmax(northmost, sun.declination);
        previous = sun;
    }
    EXPECT_NEAR(northmost, solar::kObliquityRadians * solar::kRadiansToDegrees, 0.01);
}

TEST(SolarAltitude, KnownValuesAtJ2000Noon) {
    const Sun j2000 = SunAt(2451545.0, 12.0);
    EXPECT_NEAR(Altitude(j2000, 0.0, 0.0), 66.952556, 5e-7);
    EXPECT_NEAR(Altitude(j2000, 180.0, 0.0), -66.952556, 5e-7);
    // At a pole the altitude is the declination, of either sign, at any longitude.
    EXPECT_NEAR(Altitude(j2000, 0.0, 90.0), j2000.declination, 5e-7);
    EXPECT_NEAR(Altitude(j2000, 123.0, 90.0), j2000.declination, 5e-7);
    EXPECT_NEAR(Altitude(j2000, -77.0, -90.0), -j2000.declination, 5e-7);
}

// Over the sub-solar point (hour angle 0, latitude = declination) the sun stands at the zenith,
// over its antipode at the nadir; rounding at the poles must not leave the arc sine's domain.
TEST(SolarAltitude, ZenithOverTheSubSolarPointAndNadirOverItsAntipode) {
    for (unsigned month = 1; month <= 12; ++month) {
        for (unsigned hour = 0; hour < 24; hour += 5) {
            const Sun sun =
                SunAt(JulianDate(1950 + month * 11, month, 3 + month, hour, 7 * month, 0),
                      hour + 7.0 * month / 60);
            const double sidereal = (sun.julianDate - solar::kJ2000) * solar::kSiderealPerDay +
                                    solar::kDegreesPerHour * sun.universalTime + solar::kSidereal0;
            const double longitude = NormalizeDegrees(sun.rightAscension - sidereal);
            EXPECT_NEAR(Altitude(sun, longitude, sun.declination), 90.0, 1e-5)
                << month << " " << hour;
            EXPECT_NEAR(Altitude(sun, longitude + 180.0, -sun.declination), -90.0, 1e-5)
                << month << " " << hour;
        }
    }
    for (const auto& [latitude, declination, expected] :
         {std::tuple{90.0, 90.0, 90.0}, {-90.0, -90.0, 90.0}, {90.0, -90.0, -90.0}}) {
        double altitude = 0;
        SolarAltitude(2451545.0, 12.0, 0.0, latitude, 0.0, declination, altitude);
        EXPECT_NEAR(altitude, expected, 1e-5) << latitude << " " << declination;
    }
}

// The stated digits rely on 80-bit intermediates. The x87 precision control can cut that to 53
// bits at run time (some Windows start-up code and new threads do).
TEST(ExtendedPrecision, InEffectOnTheMainThreadAndOnWorkers) {
#if defined(__i386__) || defined(__x86_64__)
    EXPECT_EQ(std::numeric_limits<long double>::digits, 64);
    volatile long double one = 1.0L;
    volatile long double tiny = std::ldexp(1.0L, -60);
    EXPECT_NE(one + tiny, one);
#endif
    const Sun onMain = SunAt(2452960.55853009);
    Sun onWorker;
    std::thread([&] { onWorker = SunAt(2452960.55853009); }).join();
    EXPECT_EQ(onMain.rightAscension, onWorker.rightAscension);
    EXPECT_EQ(onMain.declination, onWorker.declination);
}
