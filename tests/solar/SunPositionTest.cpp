#include <cmath>

#include <gtest/gtest.h>

#include "solar/Angles.h"
#include "solar/JulianDate.h"
#include "solar/SolarConstants.h"
#include "solar/SunPosition.h"

namespace {

struct Coordinates {
    double rightAscension = 0;
    double declination = 0;
};

Coordinates SunAt(double julianDate) {
    Coordinates sun;
    SunPosition(julianDate, sun.rightAscension, sun.declination);
    return sun;
}

// Difference a - b folded into (-180, 180].
double TurnDifference(double a, double b) {
    double difference = std::fmod(a - b, 360.0);
    if (difference > 180.0) {
        difference -= 360.0;
    }
    if (difference <= -180.0) {
        difference += 360.0;
    }
    return difference;
}

const double kObliquityDegrees = solar::kObliquityRadians * solar::kRadiansToDegrees;

} // namespace

TEST(SunPosition, AtJ2000TheLongitudeIsInTheFourthQuadrantAndNeedsNoCorrection) {
    const Coordinates sun = SunAt(2451545.0);
    EXPECT_NEAR(sun.rightAscension, -78.707123, 5e-7);
    EXPECT_NEAR(sun.declination, -23.033210, 5e-7);
}

TEST(SunPosition, AtTheJune2024SolsticeTheCorrectionAddsHalfATurn) {
    const Coordinates sun = SunAt(2460483.0);
    EXPECT_NEAR(sun.rightAscension, 90.664924, 5e-7);
    EXPECT_NEAR(sun.declination, 23.437883, 5e-7);
}

// Right ascension is reported unreduced: [0, 90) for the first quadrant, between 90 and 270
// after two corrections, and negative in the fourth.
TEST(SunPosition, RightAscensionRangesFollowTheLongitudeQuadrant) {
    const Coordinates april = SunAt(JulianDate(2021, 4, 20, 0, 0, 0));
    EXPECT_GE(april.rightAscension, 0.0);
    EXPECT_LT(april.rightAscension, 90.0);
    const Coordinates august = SunAt(JulianDate(2021, 8, 20, 0, 0, 0));
    EXPECT_GT(august.rightAscension, 90.0);
    EXPECT_LT(august.rightAscension, 180.0);
    const Coordinates november = SunAt(JulianDate(2021, 11, 20, 0, 0, 0));
    EXPECT_GT(november.rightAscension, 180.0);
    EXPECT_LT(november.rightAscension, 270.0);
    const Coordinates february = SunAt(JulianDate(2021, 2, 20, 0, 0, 0));
    EXPECT_GT(february.rightAscension, -90.0);
    EXPECT_LT(february.rightAscension, 0.0);
}

// Day by day over every valid year: the declination stays within the obliquity, the right
// ascension and declination belong to one point of the ecliptic (tan d = tan e sin a, which
// fails when the quadrant correction lands half a turn off) and the right ascension never
// jumps further than the sun moves in a day.
TEST(SunPosition, DailySweepOverTheValidYearsIsContinuousAndOnTheEcliptic) {
    const double first = JulianDate(1900, 3, 1, 0, 0, 0);
    const double last = JulianDate(2099, 12, 31, 0, 0, 0);
    const double tanObliquity = std::tan(solar::kObliquityRadians);
    Coordinates previous = SunAt(first);
    double southmost = 0;
    double northmost = 0;
    for (double day = first + 1; day <= last; day += 1) {
        const Coordinates sun = SunAt(day);
        ASSERT_LE(std::fabs(sun.declination), 23.44) << day;
        const double step = TurnDifference(sun.rightAscension, previous.rightAscension);
        ASSERT_GT(step, 0.85) << day;
        ASSERT_LT(step, 1.15) << day;
        const double expectedTan =
            tanObliquity * std::sin(sun.rightAscension * solar::kDegreesToRadians);
        ASSERT_NEAR(std::tan(sun.declination * solar::kDegreesToRadians), expectedTan, 1e-9) << day;
        southmost = std::fmin(southmost, sun.declination);
        northmost = std::fmax(northmost, sun.declination);
        previous = sun;
    }
    // The solstices reach the obliquity itself.
    EXPECT_NEAR(northmost, kObliquityDegrees, 0.01);
    EXPECT_NEAR(southmost, -kObliquityDegrees, 0.01);
}

TEST(SunPosition, JulianDateZeroIsComputedLikeAnyOther) {
    const Coordinates sun = SunAt(0.0);
    EXPECT_TRUE(std::isfinite(sun.rightAscension));
    EXPECT_TRUE(std::isfinite(sun.declination));
    EXPECT_LE(std::fabs(sun.declination), 23.44);
    EXPECT_NE(QuadrantOf(sun.rightAscension), 0);
}
