#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "solar/Angles.h"

TEST(NormalizeDegrees, BringsAnglesIntoOneTurn) {
    EXPECT_DOUBLE_EQ(NormalizeDegrees(-0.5), 359.5);
    EXPECT_DOUBLE_EQ(NormalizeDegrees(-720.0), 0.0);
    EXPECT_DOUBLE_EQ(NormalizeDegrees(720.5), 0.5);
    EXPECT_DOUBLE_EQ(NormalizeDegrees(360.0), 0.0);
    EXPECT_DOUBLE_EQ(NormalizeDegrees(0.0), 0.0);
    EXPECT_DOUBLE_EQ(NormalizeDegrees(359.25), 359.25);
    // The true longitude of the valid years reaches a few hundred turns.
    EXPECT_NEAR(NormalizeDegrees(36000.0 * 2 + 12.25), 12.25, 1e-9);
    EXPECT_NEAR(NormalizeDegrees(-360.0 * 6667 - 10.0), 350.0, 1e-6);
}

TEST(NormalizeDegrees, StaysBelowOneTurnForValuesJustUnderZero) {
    const double tiny = -1e-15;
    const double normalized = NormalizeDegrees(tiny);
    EXPECT_GE(normalized, 0.0);
    EXPECT_LT(normalized, 360.0);
}

TEST(NormalizeDegrees, EndsOnHugeAndNonFiniteAngles) {
    EXPECT_GE(NormalizeDegrees(1e300), 0.0);
    EXPECT_LT(NormalizeDegrees(1e300), 360.0);
    EXPECT_GE(NormalizeDegrees(-1e30), 0.0);
    EXPECT_LT(NormalizeDegrees(-1e30), 360.0);
    EXPECT_TRUE(std::isnan(NormalizeDegrees(std::numeric_limits<double>::infinity())));
    EXPECT_TRUE(std::isnan(NormalizeDegrees(-std::numeric_limits<double>::infinity())));
    EXPECT_TRUE(std::isnan(NormalizeDegrees(std::numeric_limits<double>::quiet_NaN())));
}

TEST(QuadrantOf, BoundariesBelongToTheHigherQuadrant) {
    EXPECT_EQ(QuadrantOf(0.0), 1);
    EXPECT_EQ(QuadrantOf(90.0), 2);
    EXPECT_EQ(QuadrantOf(180.0), 3);
    EXPECT_EQ(QuadrantOf(270.0), 4);
    EXPECT_EQ(QuadrantOf(360.0), 1);
    EXPECT_EQ(QuadrantOf(-90.0), 4);
    EXPECT_EQ(QuadrantOf(720.5), 1);
}

TEST(QuadrantOf, InteriorsAndNeighboursOfBoundaries) {
    EXPECT_EQ(QuadrantOf(45.0), 1);
    EXPECT_EQ(QuadrantOf(89.999999), 1);
    EXPECT_EQ(QuadrantOf(179.999999), 2);
    EXPECT_EQ(QuadrantOf(269.999999), 3);
    EXPECT_EQ(QuadrantOf(359.999999), 4);
    EXPECT_EQ(QuadrantOf(-1e-15), 4); // just below 0 is still the fourth quadrant
    EXPECT_EQ(QuadrantOf(-181.0), 2);
    EXPECT_EQ(QuadrantOf(-270.0), 2);
    EXPECT_EQ(QuadrantOf(-359.5), 1);
}

TEST(QuadrantOf, NonFiniteAngleHasNoQuadrant) {
    EXPECT_EQ(QuadrantOf(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(QuadrantOf(std::numeric_limits<double>::infinity()), 0);
}
