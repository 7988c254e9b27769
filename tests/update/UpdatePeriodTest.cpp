// The periodic timer's period from the update setting.

#include <gtest/gtest.h>

#include <climits>
#include <utility>

#include "update/UpdatePeriod.h"

// -1 is what 4294967295 in the registry reads as.
TEST(UpdatePeriod, MinutesAreBroughtInto1To71582ThenMadeMilliseconds) {
    const std::pair<int, std::uint32_t> cases[] = {
        {1, 60000u},  {15, 900000u},     {71582, 4294920000u}, {0, 60000u},
        {-1, 60000u}, {INT_MIN, 60000u}, {71583, 4294920000u}, {INT_MAX, 4294920000u}};
    for (const auto& [minutes, milliseconds] : cases) {
        EXPECT_EQ(UpdatePeriodMilliseconds(minutes), milliseconds) << minutes;
    }
}
