#include <algorithm>
#include <numeric>
#include <random>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "TerminatorReference.h"
#include "render/core/TerminatorAlpha.h"
#include "render/core/TerminatorGeometry.h"
#include "render/core/TerminatorKernel.h"

namespace {

// Records every column it is asked about; stops at a chosen column.
struct RecordingGate : ColumnGate {
    explicit RecordingGate(std::uint32_t stopAt = UINT32_MAX) : stopAt(stopAt) {}
    bool Enter(std::uint32_t column) override {
        entered.push_back(column);
        return column != stopAt;
    }
    std::uint32_t stopAt;
    std::vector<std::uint32_t> entered;
};

ArgbBuffer RandomImage(std::mt19937& random, std::uint32_t width, std::uint32_t height,
                       bool opaque) {
    ArgbBuffer image(width, height);
    for (std::uint32_t& pixel : image.pixels) {
        pixel = static_cast<std::uint32_t>(random()) | (opaque ? 0xFF000000u : 0);
    }
    return image;
}

SunInstant RandomInstant(std::mt19937& random) {
    const auto draw = [&random](std::uint32_t low, std::uint32_t high) {
        return std::uniform_int_distribution<std::uint32_t>(low, high)(random);
    };
    const std::uint32_t year = draw(1900, 2099);
    return SunInstantAt(year, year == 1900 ? draw(3, 12) : draw(1, 12), draw(1, 31), draw(0, 23),
                        draw(0, 59), draw(0, 59));
}

void ExpectSameAsReference(const SunInstant& sun, const ArgbBuffer& day, const ArgbBuffer& night) {
    ArgbBuffer expected = day;
    BlendTerminatorReference(sun, expected.View(), night.View());
    ArgbBuffer actual = day;
    RecordingGate gate;
    EXPECT_TRUE(BlendTerminator(sun, actual.View(), night.View(), gate));
    EXPECT_EQ(CountDifferences(sun, actual, expected), 0)
        << day.width << "x" << day.height << " night " << night.width << "x" << night.height
        << " at JD " << sun.julianDate;
}

} // namespace

// Random instants and sizes, with night images of the same size, larger (cut to the day image)
// and smaller (the last night colour read carries on); polar day and night and a clock outside
// the valid years (Julian date 0) on a full-size map.
TEST(TerminatorKernel, MatchesThePerPixelLoop) {
    std::mt19937 random(20240621);
    std::uniform_int_distribution<std::uint32_t> size(1, 260);
    for (int trial = 0; trial < 200 && !HasFailure(); ++trial) {
        const std::uint32_t width = size(random);
        const std::uint32_t height = 1 + size(random) / 2;
        const ArgbBuffer day = RandomImage(random, width, height, trial % 3 != 0);
        const ArgbBuffer night = trial % 2 ? RandomImage(random, width, height, false)
                                           : RandomImage(random, size(random), size(random), false);
        ExpectSameAsReference(RandomInstant(random), day, night);
    }
    for (const SunInstant& sun :
         {SunInstantAt(2024, 6, 21, 0, 0, 0), SunInstantAt(2024, 12, 21, 12, 0, 0),
          SunInstantAt(2024, 3, 20, 3, 6, 0), SunInstantAt(2150, 1, 1, 0, 0, 0)}) {
        ExpectSameAsReference(sun, RandomImage(random, 720, 360, true),
                              RandomImage(random, 720, 360, true));
    }
}

// Outside a night image too small to cover the map the last night colour read repeats; before
// any is read it is opaque black. The night pixel's alpha plays no part.
TEST(TerminatorKernel, NightColourCarriesOnOutsideASmallNightImage) {
    const std::tuple<SunInstant, ArgbBuffer, std::uint32_t> cases[] = {
        // December: pixel (0, 0), the north pole, is in full night and read first.
        {SunInstantAt(2023, 12, 21, 12, 0, 0), ArgbBuffer(1, 1, 0x00C81E0Au), 0xFFC81E0Au},
        // June: the top row is in daylight, so the one night pixel is never read.
        {SunInstantAt(2023, 6, 21, 12, 0, 0), ArgbBuffer(1, 1, 0xFF00FF00u), 0xFF000000u},
        {SunInstantAt(2023, 6, 21, 12, 0, 0), ArgbBuffer(), 0xFF000000u}};
    for (const auto& [sun, night, fullNight] : cases) {
        ArgbBuffer day(96, 48, 0xFF102030u);
        RecordingGate gate;
        ASSERT_TRUE(BlendTerminator(sun, day.View(), night.View(), gate));
        int nights = 0;
        for (std::uint32_t row = 0; row < 48; ++row) {
            for (std::uint32_t column = 0; column < 96; ++column) {
                const auto alpha = NightAlphaForAltitude(AltitudeAt(
                    sun, ColumnLongitude(column, 96), RowLatitude(row, LatitudeStep(48))));
                if (!alpha || *alpha == 255) {
                    ASSERT_EQ(day.At(column, row), alpha ? fullNight : 0xFF102030u)
                        << column << "," << row;
                    nights += alpha.has_value();
                }
            }
        }
        EXPECT_GT(nights, 96 * 48 / 4);
    }
}

TEST(TerminatorKernel, EntersEveryColumnInOrderUntilTheGateSaysNo) {
    const SunInstant sun = SunInstantAt(2005, 5, 5, 5, 5, 5);
    const ArgbBuffer untouched(200, 3, 0xFF000000u);
    const ArgbBuffer night(200, 3, 0xFFFFFFFFu);
    for (const std::uint32_t stopAt : {UINT32_MAX, 130u, 0u}) {
        ArgbBuffer day = untouched;
        RecordingGate gate(stopAt);
        EXPECT_EQ(BlendTerminator(sun, day.View(), night.View(), gate), stopAt == UINT32_MAX);
        std::vector<std::uint32_t> expected(std::min(stopAt, 199u) + 1);
        std::iota(expected.begin(), expected.end(), 0u);
        EXPECT_EQ(gate.entered, expected) << stopAt;
        if (stopAt == 0) {
            EXPECT_EQ(day.pixels, untouched.pixels);
        }
    }
    // A map without rows still has its columns entered.
    ArgbBuffer noRows(5, 0);
    RecordingGate gate;
    EXPECT_TRUE(BlendTerminator(sun, noRows.View(), night.View(), gate));
    EXPECT_EQ(gate.entered.size(), 5u);
}
