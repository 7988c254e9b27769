#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "render/core/TerminatorAlpha.h"

TEST(NightAlpha, DayAtAndAboveTheHorizon) {
    EXPECT_FALSE(NightAlphaForAltitude(0.0).has_value());
    EXPECT_FALSE(NightAlphaForAltitude(-0.0).has_value());
    EXPECT_FALSE(NightAlphaForAltitude(1e-300).has_value());
    EXPECT_FALSE(NightAlphaForAltitude(45.0).has_value());
    EXPECT_FALSE(NightAlphaForAltitude(90.0).has_value());
}

TEST(NightAlpha, TwilightBandRisesFromZeroTo254) {
    EXPECT_EQ(NightAlphaForAltitude(-1e-300), 0);
    EXPECT_EQ(NightAlphaForAltitude(-1e-9), 0);
    EXPECT_EQ(NightAlphaForAltitude(-0.1), 43);
    EXPECT_EQ(NightAlphaForAltitude(-0.3), 131);
    EXPECT_EQ(NightAlphaForAltitude(-0.5), 218);
    EXPECT_EQ(NightAlphaForAltitude(-0.58), 253);
    EXPECT_EQ(NightAlphaForAltitude(std::nextafter(-0.5833, 0.0)), 254);
}

TEST(NightAlpha, FullNightAtAndBelowTheBandEdge) {
    EXPECT_EQ(NightAlphaForAltitude(-0.5833), 255);
    EXPECT_EQ(NightAlphaForAltitude(std::nextafter(-0.5833, -1.0)), 255);
    EXPECT_EQ(NightAlphaForAltitude(-10.0), 255);
    EXPECT_EQ(NightAlphaForAltitude(-90.0), 255);
    EXPECT_EQ(NightAlphaForAltitude(std::numeric_limits<double>::quiet_NaN()), 255);
}

TEST(NightAlpha, NeverFallsAsTheSunSinksThroughTheBand) {
    int previous = 0;
    for (int step = 1; step <= 6000; ++step) {
        const double altitude = -0.6 * step / 6000;
        const auto alpha = NightAlphaForAltitude(altitude);
        ASSERT_TRUE(alpha.has_value());
        ASSERT_GE(*alpha, previous) << altitude;
        ASSERT_LE(*alpha - previous, 1) << altitude;
        previous = *alpha;
    }
    EXPECT_EQ(previous, 255);
}
