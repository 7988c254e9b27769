#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "solar/Angles.h"
#include "solar/JulianDate.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();

} // namespace

TEST(Angles, NormalizeDegreesBringsAnglesIntoOneTurn) {
    const std::pair<double, double> cases[] = {{-0.5, 359.5},    {-720.0, 0.0}, {720.5, 0.5},
                                               {360.0, 0.0},     {0.0, 0.0},    {359.25, 359.25},
                                               {72012.25, 12.25}};
    for (const auto& [angle, expected] : cases) {
        EXPECT_NEAR(NormalizeDegrees(angle), expected, 1e-9) << angle;
    }
    // The true longitude of the valid years reaches a few thousand turns.
    EXPECT_NEAR(NormalizeDegrees(-360.0 * 6667 - 10.0), 350.0, 1e-6);
    for (const double angle : {-1e-15, 1e300, -1e30}) {
        EXPECT_GE(NormalizeDegrees(angle), 0.0) << angle;
        EXPECT_LT(NormalizeDegrees(angle), 360.0) << angle;
    }
    for (const double angle : {kInfinity, -kInfinity, kNaN}) {
        EXPECT_TRUE(std::isnan(NormalizeDegrees(angle))) << angle;
    }
}

// A boundary belongs to the higher quadrant; a non-finite angle has none.
TEST(Angles, QuadrantOf) {
    const std::pair<double, int> cases[] = {
        {0.0, 1},    {45.0, 1},       {89.999999, 1}, {90.0, 2},       {179.999999, 2},
        {180.0, 3},  {269.999999, 3}, {270.0, 4},     {359.999999, 4}, {360.0, 1},
        {720.5, 1},  {-1e-15, 4},     {-90.0, 4},     {-181.0, 2},     {-270.0, 2},
        {-359.5, 1}, {kNaN, 0},       {kInfinity, 0}};
    for (const auto& [angle, quadrant] : cases) {
        EXPECT_EQ(QuadrantOf(angle), quadrant) << angle;
    }
}

TEST(JulianDate, KnownInstants) {
    EXPECT_EQ(JulianDate(2000, 1, 1, 12, 0, 0), 2451545.0);
    EXPECT_EQ(JulianDate(1900, 3, 1, 0, 0, 0), 2415079.5);
    EXPECT_NEAR(JulianDate(2003, 11, 17, 1, 24, 17), 2452960.55853009, 5e-9);
    EXPECT_NEAR(JulianDate(2099, 12, 31, 23, 59, 59), 2488069.49998843, 5e-9);
    EXPECT_EQ(JulianDate(2024, 6, 21, 12, 0, 0), 2460483.0);
}

TEST(JulianDate, OutsideTheValidSpanGivesZero) {
    const unsigned dates[][3] = {{1900, 2, 28}, {1900, 1, 1},        {1899, 12, 31}, {2100, 1, 1},
                                 {0, 6, 1},     {4294967295u, 6, 1}, {2003, 0, 1},   {2003, 13, 1},
                                 {2003, 5, 0},  {2003, 5, 32}};
    for (const auto& [year, month, day] : dates) {
        EXPECT_EQ(JulianDate(year, month, day, 12, 0, 0), 0.0)
            << year << "-" << month << "-" << day;
    }
}

TEST(JulianDate, DaysAndTimesBeyondTheirRangeCountOn) {
    EXPECT_EQ(JulianDate(2003, 2, 31, 0, 0, 0), 2452701.5);
    EXPECT_EQ(JulianDate(2003, 3, 3, 0, 0, 0), 2452701.5);
    EXPECT_DOUBLE_EQ(JulianDate(2003, 3, 3, 25, 0, 0), JulianDate(2003, 3, 4, 1, 0, 0));
    EXPECT_DOUBLE_EQ(JulianDate(2003, 3, 3, 1, 75, 0), JulianDate(2003, 3, 3, 2, 15, 0));
    EXPECT_DOUBLE_EQ(JulianDate(2003, 3, 3, 0, 0, 90), JulianDate(2003, 3, 3, 0, 1, 30));
}

// January and February count as the end of the previous year and 2000 is a leap year:
// consecutive calendar days are exactly one day apart over the whole span.
TEST(JulianDate, ConsecutiveDaysAreOneDayApartAcrossTheWholeSpan) {
    constexpr unsigned kDaysInMonth[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    double previous = 2415079.5 - 1; // the day before 1 March 1900
    unsigned checked = 0;
    for (unsigned year = 1900; year <= 2099; ++year) {
        for (unsigned month = (year == 1900 ? 3 : 1); month <= 12; ++month) {
            const bool leap = month == 2 && year % 4 == 0 && year != 1900;
            for (unsigned day = 1; day <= kDaysInMonth[month - 1] + leap; ++day) {
                const double current = JulianDate(year, month, day, 0, 0, 0);
                ASSERT_EQ(current - previous, 1.0) << year << "-" << month << "-" << day;
                previous = current;
                ++checked;
            }
        }
    }
    EXPECT_EQ(checked, 72990u); // 1 March 1900 to 31 December 2099
}
