// The periodic timer's period from the update setting.

#include <gtest/gtest.h>

#include <climits>

#include "update/UpdatePeriod.h"

namespace {

TEST(UpdatePeriod, MinutesAreBroughtInto1To71582ThenMadeMilliseconds) {
    EXPECT_EQ(UpdatePeriodMilliseconds(1), 60000u);
    EXPECT_EQ(UpdatePeriodMilliseconds(15), 900000u);
    EXPECT_EQ(UpdatePeriodMilliseconds(71582), 4294920000u);
    EXPECT_EQ(UpdatePeriodMilliseconds(0), 60000u);
    EXPECT_EQ(UpdatePeriodMilliseconds(-1), 60000u); // 4294967295 in the registry
    EXPECT_EQ(UpdatePeriodMilliseconds(INT_MIN), 60000u);
    EXPECT_EQ(UpdatePeriodMilliseconds(71583), 4294920000u);
    EXPECT_EQ(UpdatePeriodMilliseconds(INT_MAX), 4294920000u);
}

} // namespace
