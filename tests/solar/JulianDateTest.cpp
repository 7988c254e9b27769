#include <gtest/gtest.h>

#include "solar/JulianDate.h"

TEST(JulianDate, KnownInstants) {
    EXPECT_EQ(JulianDate(2000, 1, 1, 12, 0, 0), 2451545.0);
    EXPECT_EQ(JulianDate(1900, 3, 1, 0, 0, 0), 2415079.5);
    EXPECT_NEAR(JulianDate(2003, 11, 17, 1, 24, 17), 2452960.55853009, 5e-9);
    EXPECT_NEAR(JulianDate(2099, 12, 31, 23, 59, 59), 2488069.49998843, 5e-9);
    EXPECT_EQ(JulianDate(2024, 6, 21, 12, 0, 0), 2460483.0);
}

TEST(JulianDate, OutsideTheValidSpanGivesZero) {
    EXPECT_EQ(JulianDate(1900, 2, 28, 12, 0, 0), 0.0);
    EXPECT_EQ(JulianDate(1900, 1, 1, 0, 0, 0), 0.0);
    EXPECT_EQ(JulianDate(1899, 12, 31, 0, 0, 0), 0.0);
    EXPECT_EQ(JulianDate(2100, 1, 1, 0, 0, 0), 0.0);
    EXPECT_EQ(JulianDate(0, 6, 1, 0, 0, 0), 0.0);
    EXPECT_EQ(JulianDate(4294967295u, 6, 1, 0, 0, 0), 0.0);
    EXPECT_EQ(JulianDate(2003, 0, 1, 0, 0, 0), 0.0);
    EXPECT_EQ(JulianDate(2003, 13, 1, 0, 0, 0), 0.0);
    EXPECT_EQ(JulianDate(2003, 5, 0, 0, 0, 0), 0.0);
    EXPECT_EQ(JulianDate(2003, 5, 32, 0, 0, 0), 0.0);
}

TEST(JulianDate, EdgesOfTheValidSpanAreAccepted) {
    EXPECT_NE(JulianDate(1900, 3, 1, 0, 0, 0), 0.0);
    EXPECT_NE(JulianDate(2099, 12, 31, 23, 59, 59), 0.0);
    EXPECT_NE(JulianDate(2003, 1, 31, 0, 0, 0), 0.0);
    EXPECT_NE(JulianDate(2003, 12, 1, 0, 0, 0), 0.0);
}

TEST(JulianDate, DaysAndTimesBeyondTheirRangeCountOn) {
    EXPECT_EQ(JulianDate(2003, 2, 31, 0, 0, 0), 2452701.5);
    EXPECT_EQ(JulianDate(2003, 3, 3, 0, 0, 0), 2452701.5);
    EXPECT_DOUBLE_EQ(JulianDate(2003, 3, 3, 25, 0, 0), JulianDate(2003, 3, 4, 1, 0, 0));
    EXPECT_DOUBLE_EQ(JulianDate(2003, 3, 3, 1, 75, 0), JulianDate(2003, 3, 3, 2, 15, 0));
    EXPECT_DOUBLE_EQ(JulianDate(2003, 3, 3, 0, 0, 90), JulianDate(2003, 3, 3, 0, 1, 30));
}

// The calendar formula has to treat January and February as the end of the previous year and
// must count 2000 as a leap year: consecutive calendar days are always exactly one day apart.
TEST(JulianDate, ConsecutiveDaysAreOneDayApartAcrossTheWholeSpan) {
    constexpr unsigned kDaysInMonth[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    double previous = JulianDate(1900, 3, 1, 0, 0, 0);
    unsigned checked = 0;
    for (unsigned year = 1900; year <= 2099; ++year) {
        for (unsigned month = (year == 1900 ? 3 : 1); month <= 12; ++month) {
            unsigned length = kDaysInMonth[month - 1];
            if (month == 2 && year % 4 == 0 && year != 1900) {
                length = 29;
            }
            for (unsigned day = 1; day <= length; ++day) {
                if (year == 1900 && month == 3 && day == 1) {
                    continue;
                }
                const double current = JulianDate(year, month, day, 0, 0, 0);
                ASSERT_EQ(current - previous, 1.0) << year << "-" << month << "-" << day;
                previous = current;
                ++checked;
            }
        }
    }
    // 1 March 1900 to 31 December 2099 inclusive is 72990 days.
    EXPECT_EQ(checked, 72989u);
}

TEST(JulianDate, TimeOfDayIsTheFractionOfTheDay) {
    const double midnight = JulianDate(2010, 7, 14, 0, 0, 0);
    EXPECT_DOUBLE_EQ(JulianDate(2010, 7, 14, 6, 0, 0) - midnight, 0.25);
    EXPECT_NEAR(JulianDate(2010, 7, 14, 0, 0, 1) - midnight, 1.0 / 86400.0, 1e-9);
    EXPECT_NEAR(JulianDate(2010, 7, 14, 23, 59, 59) - midnight, 86399.0 / 86400.0, 1e-9);
}
