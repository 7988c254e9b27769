#include <vector>

#include <gtest/gtest.h>

#include "render/core/TerminatorGeometry.h"
#include "render/core/TerminatorProgress.h"

namespace {

std::vector<int> ProgressSequence(std::uint32_t width) {
    const ColumnProgress progress(width);
    std::vector<int> values;
    for (std::uint32_t column = 0; column < width; ++column) {
        values.push_back(progress.Before(column));
    }
    return values;
}

} // namespace

TEST(ColumnProgress, PercentOfColumnsAlreadyFinished) {
    EXPECT_EQ(ProgressSequence(3), (std::vector<int>{0, 33, 66}));
    EXPECT_EQ(ProgressSequence(4), (std::vector<int>{0, 25, 50, 75}));
    // The single-precision factor gives 49 for the fourth of six columns.
    EXPECT_EQ(ProgressSequence(6), (std::vector<int>{0, 16, 33, 49, 66, 83}));
    EXPECT_EQ(ProgressSequence(1), (std::vector<int>{0}));
}

TEST(ColumnProgress, NeverReachesOneHundredAndNeverGoesBack) {
    for (std::uint32_t width : {2u, 7u, 99u, 100u, 101u, 1000u, 2048u, 8191u, 8192u}) {
        const std::vector<int> values = ProgressSequence(width);
        ASSERT_EQ(values.front(), 0);
        ASSERT_LE(values.back(), 99) << width;
        for (std::size_t i = 1; i < values.size(); ++i) {
            ASSERT_GE(values[i], values[i - 1]) << width;
        }
    }
}

TEST(MapGeometry, ColumnsSampleLongitudeFromTheLeftEdge) {
    EXPECT_EQ(ColumnLongitude(0, 360), -180.0);
    EXPECT_EQ(ColumnLongitude(180, 360), 0.0);
    EXPECT_EQ(ColumnLongitude(359, 360), 179.0);
    EXPECT_EQ(ColumnLongitude(1, 4), -90.0);
    EXPECT_DOUBLE_EQ(ColumnLongitude(2, 3), 60.0);
}

TEST(MapGeometry, RowsSampleLatitudeFromTheTopEdge) {
    const double step = LatitudeStep(180);
    EXPECT_EQ(step, 1.0);
    EXPECT_EQ(RowLatitude(0, step), 90.0);
    EXPECT_EQ(RowLatitude(90, step), 0.0);
    EXPECT_EQ(RowLatitude(179, step), -89.0);
    EXPECT_DOUBLE_EQ(RowLatitude(2, LatitudeStep(7)), 90.0 - 360.0 / 7);
}
