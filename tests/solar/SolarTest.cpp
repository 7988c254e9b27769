// The solar model: angles, Julian dates, and the sun of one instant with its altitude.
#include <cmath>
#include <thread>
#include <vector>

#include <gmock/gmock.h>

#include "solar/Angles.h"
#include "solar/ExtendedPrecisionScope.h"
#include "solar/JulianDate.h"
#include "solar/SolarConstants.h"
#include "solar/SunInstant.h"

// Angle, normalised angle, quadrant. A hair below 0 rounds to 0, not 360, yet keeps its
// quadrant; angles beyond a million turns are reduced exactly; NaN and infinities give NaN and
// quadrant 0.
TEST(Angles, NormalizeDegreesAndQuadrantOf) {
    const double cases[][3] = {
        {-0.5, 359.5, 4},      {-720, 0, 1},   {720.5, 0.5, 1},    {360, 0, 1},
        {90, 90, 2},           {180, 180, 3},  {270, 270, 4},      {-90, 270, 4},
        {89.9999, 89.9999, 1}, {-1e-15, 0, 4}, {-2400130, 350, 4}, {36e9 + 12.25, 12.25, 1},
        {-36e9 - 90, 270, 4},  {NAN, NAN, 0},  {INFINITY, NAN, 0}, {-INFINITY, NAN, 0}};
    for (const auto& [angle, normalized, quadrant] : cases) {
        EXPECT_THAT(NormalizeDegrees(angle), testing::NanSensitiveDoubleEq(normalized)) << angle;
        EXPECT_EQ(QuadrantOf(angle), quadrant) << angle;
    }
}

// Year, month, day, hour, minute, second, Julian date. Outside 1 March 1900 - 31 December 2099
// and for impossible months and days the date is 0; a day past its month's end and times past
// their range count on.
TEST(JulianDate, KnownDatesAndTheValidSpan) {
    const double cases[][7] = {{2000, 1, 1, 12, 0, 0, 2451545.0},
                               {1900, 3, 1, 0, 0, 0, 2415079.5},
                               {2003, 11, 17, 1, 24, 17, 2452960.55853009},
                               {2099, 12, 31, 23, 59, 59, 2488069.49998843},
                               {2003, 2, 31, 0, 0, 0, 2452701.5},
                               {2003, 3, 3, 25, 75, 90, 2452702.5 + 2.275 / 24}};
    for (const auto& c : cases) {
        EXPECT_NEAR(JulianDate(c[0], c[1], c[2], c[3], c[4], c[5]), c[6], 5e-9) << c[0] << c[1];
    }
    const unsigned outside[][3] = {{1900, 2, 28}, {1899, 12, 31}, {2100, 1, 1}, {2003, 0, 1},
                                   {2003, 13, 1}, {2003, 5, 0},   {2003, 5, 32}};
    for (const auto& [year, month, day] : outside) {
        EXPECT_EQ(JulianDate(year, month, day, 12, 0, 0), 0.0)
            << year << "-" << month << "-" << day;
    }
}

// At J2000.0 the sun's longitude lies in the fourth quadrant; at the June 2024 solstice the
// quadrant correction adds half a turn.
TEST(SunInstant, KnownPositionsAndAltitudes) {
    const SunInstant j2000 = SunInstantAt(2000, 1, 1, 12, 0, 0);
    const SunInstant solstice = SunInstantAt(2024, 6, 21, 12, 0, 0);
    EXPECT_NEAR(j2000.rightAscension, -78.707123, 5e-7);
    EXPECT_NEAR(j2000.declination, -23.033210, 5e-7);
    EXPECT_NEAR(solstice.rightAscension, 90.664924, 5e-7);
    EXPECT_NEAR(solstice.declination, 23.437883, 5e-7);
    EXPECT_NEAR(AltitudeAt(j2000, 0, 0), 66.952556, 5e-7);
}

// Over a year: the universal time and the Julian date name the same instant, and over the
// sub-solar point (east of Greenwich by right ascension minus sidereal time) the sun stands at
// the zenith, over its antipode at the nadir, without rounding leaving the arc sine's domain.
// Returns what it computed.
static std::vector<double> CheckZenithAndNadirOverAYear() {
    std::vector<double> seen;
    for (std::uint32_t month = 1; month <= 12; ++month) {
        const SunInstant sun =
            SunInstantAt(1950 + month * 11, month, 3 + month, 2 * month - 2, 7 * month, 4 * month);
        EXPECT_NEAR(std::fmod(sun.julianDate + 0.5, 1.0) * 24, sun.universalTime, 1e-6);
        const double sidereal = (sun.julianDate - solar::kJ2000) * solar::kSiderealPerDay +
                                solar::kDegreesPerHour * sun.universalTime + solar::kSidereal0;
        const double longitude = NormalizeDegrees(sun.rightAscension - sidereal);
        seen.insert(seen.end(), {sun.rightAscension, sun.declination,
                                 AltitudeAt(sun, longitude, sun.declination),
                                 -AltitudeAt(sun, longitude + 180, -sun.declination)});
        EXPECT_NEAR(seen.end()[-2], 90.0, 1e-5) << month;
        EXPECT_NEAR(seen.end()[-1], 90.0, 1e-5) << month;
    }
    return seen;
}

// The same on a thread that rounds to 53 bits gives the very same results inside the scope, and
// the thread gets its setting back afterwards.
TEST(SunInstant, ZenithOverTheSubSolarPointAlsoOnAThreadWithShortPrecision) {
    const std::vector<double> onMain = CheckZenithAndNadirOverAYear();
    std::vector<double> onWorker;
    unsigned short afterwards = 0;
    std::thread([&] {
        solar::SetX87ControlWord(0x027F); // 53-bit precision
        {
            const solar::ExtendedPrecisionScope scope;
            onWorker = CheckZenithAndNadirOverAYear();
        }
        afterwards = solar::X87ControlWord();
    }).join();
    EXPECT_EQ(onWorker, onMain);
    EXPECT_EQ(afterwards, 0x027F);
}
