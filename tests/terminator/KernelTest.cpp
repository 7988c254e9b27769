#include <cmath>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "TerminatorReference.h"
#include "render/core/TerminatorAlpha.h"
#include "render/core/TerminatorGeometry.h"
#include "render/core/TerminatorKernel.h"

namespace {

// Records every column it is asked about; stops at a chosen column.
class RecordingGate : public ColumnGate {
public:
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
        pixel = static_cast<std::uint32_t>(random());
        if (opaque) {
            pixel |= 0xFF000000u;
        }
    }
    return image;
}

// True when an altitude is so close to a place where the alpha changes that the two
// evaluations may legitimately fall on different sides.
bool NearClassEdge(double altitude) {
    constexpr double kTolerance = 1e-9;
    if (std::fabs(altitude) <= kTolerance ||
        std::fabs(altitude - kTwilightEdgeDegrees) <= kTolerance) {
        return true;
    }
    const double steps = -altitude * 437.16783816218066;
    return altitude < 0 && altitude > kTwilightEdgeDegrees &&
           std::fabs(steps - std::round(steps)) <= kTolerance * 437.16783816218066;
}

SunInstant RandomInstant(std::mt19937& random) {
    std::uniform_int_distribution<std::uint32_t> year(1900, 2099);
    std::uniform_int_distribution<std::uint32_t> month(1, 12);
    std::uniform_int_distribution<std::uint32_t> day(1, 31);
    std::uniform_int_distribution<std::uint32_t> hour(0, 23);
    std::uniform_int_distribution<std::uint32_t> minuteOrSecond(0, 59);
    const std::uint32_t y = year(random);
    const std::uint32_t m = y == 1900 ? 3 + month(random) % 10 : month(random);
    return SunInstantAt(y, m, day(random), hour(random), minuteOrSecond(random),
                        minuteOrSecond(random));
}

// Compares the kernel with the per-pixel loop; returns how many pixels differed only because
// their altitude sits on a class edge.
int ExpectSameAsReference(const SunInstant& sun, const ArgbBuffer& day, const ArgbBuffer& night) {
    ArgbBuffer expected = day;
    BlendTerminatorReference(sun, expected.View(), night.View());
    ArgbBuffer actual = day;
    RecordingGate gate;
    EXPECT_TRUE(BlendTerminator(sun, actual.View(), night.View(), gate));
    int onEdge = 0;
    const double step = LatitudeStep(day.height);
    for (std::uint32_t row = 0; row < day.height; ++row) {
        for (std::uint32_t column = 0; column < day.width; ++column) {
            if (actual.At(column, row) == expected.At(column, row)) {
                continue;
            }
            const double altitude =
                AltitudeAt(sun, ColumnLongitude(column, day.width), RowLatitude(row, step));
            if (NearClassEdge(altitude)) {
                ++onEdge;
                continue;
            }
            ADD_FAILURE() << "pixel " << column << "," << row << " of " << day.width << "x"
                          << day.height << " at JD " << sun.julianDate << ": " << std::hex
                          << actual.At(column, row) << " instead of " << expected.At(column, row);
            return onEdge;
        }
    }
    return onEdge;
}

} // namespace

TEST(TerminatorKernel, MatchesThePerPixelLoopForRandomInstantsAndSizes) {
    std::mt19937 random(20240621);
    std::uniform_int_distribution<std::uint32_t> size(1, 200);
    int onEdge = 0;
    for (int trial = 0; trial < 120; ++trial) {
        const std::uint32_t width = size(random);
        const std::uint32_t height = 1 + size(random) / 2;
        const SunInstant sun = RandomInstant(random);
        const ArgbBuffer day = RandomImage(random, width, height, trial % 3 != 0);
        const ArgbBuffer night = RandomImage(random, width, height, false);
        onEdge += ExpectSameAsReference(sun, day, night);
        if (HasFailure()) {
            return;
        }
    }
    EXPECT_LE(onEdge, 2);
}

TEST(TerminatorKernel, MatchesThePerPixelLoopAtPolarDayAndNightAndOutOfRangeClock) {
    std::mt19937 random(7);
    const SunInstant instants[] = {
        SunInstantAt(2024, 6, 21, 0, 0, 0), SunInstantAt(2024, 12, 21, 12, 0, 0),
        SunInstantAt(2024, 3, 20, 3, 6, 0), SunInstantAt(2150, 1, 1, 0, 0, 0)}; // Julian date 0.0
    for (const SunInstant& sun : instants) {
        const ArgbBuffer day = RandomImage(random, 720, 360, true);
        const ArgbBuffer night = RandomImage(random, 720, 360, true);
        EXPECT_LE(ExpectSameAsReference(sun, day, night), 1);
    }
}

// Night images of other sizes: the larger ones are cut to the day image, and outside a smaller
// one the last night colour read carries on down the column and into later columns.
TEST(TerminatorKernel, MatchesThePerPixelLoopForNightImagesOfOtherSizes) {
    std::mt19937 random(99);
    std::uniform_int_distribution<std::uint32_t> size(1, 260);
    for (int trial = 0; trial < 80; ++trial) {
        const std::uint32_t width = size(random);
        const std::uint32_t height = 1 + size(random) / 2;
        const ArgbBuffer day = RandomImage(random, width, height, true);
        const ArgbBuffer night = RandomImage(random, size(random), size(random), false);
        ExpectSameAsReference(RandomInstant(random), day, night);
        if (HasFailure()) {
            return;
        }
    }
}

TEST(TerminatorKernel, OutsideASmallNightImageTheLastColourReadRepeats) {
    // December: the north pole, and so pixel (0, 0), lies in full night.
    const SunInstant sun = SunInstantAt(2023, 12, 21, 12, 0, 0);
    ASSERT_EQ(NightAlphaForAltitude(AltitudeAt(sun, -180.0, 90.0)), 255);
    ArgbBuffer day(96, 48, 0xFF102030u);
    const ArgbBuffer night(1, 1, 0x00C81E0Au); // transparent red: its alpha plays no part
    RecordingGate gate;
    ASSERT_TRUE(BlendTerminator(sun, day.View(), night.View(), gate));
    const double step = LatitudeStep(48);
    int nights = 0;
    for (std::uint32_t row = 0; row < 48; ++row) {
        for (std::uint32_t column = 0; column < 96; ++column) {
            const auto alpha = NightAlphaForAltitude(
                AltitudeAt(sun, ColumnLongitude(column, 96), RowLatitude(row, step)));
            if (!alpha) {
                EXPECT_EQ(day.At(column, row), 0xFF102030u);
            } else if (*alpha == 255) {
                EXPECT_EQ(day.At(column, row), 0xFFC81E0Au);
                ++nights;
            }
        }
    }
    EXPECT_GT(nights, 96 * 48 / 4);
}

TEST(TerminatorKernel, BeforeAnyNightPixelIsReadTheColourIsOpaqueBlack) {
    // June: the top row is in daylight, so the 1x1 night image is never read.
    const SunInstant sun = SunInstantAt(2023, 6, 21, 12, 0, 0);
    ASSERT_FALSE(NightAlphaForAltitude(AltitudeAt(sun, -180.0, 90.0)).has_value());
    ArgbBuffer day(64, 32, 0xFFFFFFFFu);
    const ArgbBuffer night(1, 1, 0xFF00FF00u);
    RecordingGate gate;
    ASSERT_TRUE(BlendTerminator(sun, day.View(), night.View(), gate));
    int black = 0;
    for (const std::uint32_t pixel : day.pixels) {
        // White, grey in the band or black: never a trace of the green night pixel.
        EXPECT_EQ((pixel >> 8) & 0xFFu, pixel & 0xFFu) << std::hex << pixel;
        EXPECT_EQ((pixel >> 16) & 0xFFu, pixel & 0xFFu) << std::hex << pixel;
        black += pixel == 0xFF000000u;
    }
    EXPECT_GT(black, 64 * 32 / 4);
}

TEST(TerminatorKernel, NightAlphaAndPartsBeyondTheDayImageAreIgnored) {
    std::mt19937 random(5);
    const SunInstant sun = SunInstantAt(2011, 10, 2, 17, 45, 3);
    const ArgbBuffer day = RandomImage(random, 150, 75, true);
    ArgbBuffer exact = RandomImage(random, 150, 75, true);
    ArgbBuffer larger(170, 90, 0xFFFF00FFu);
    for (std::uint32_t row = 0; row < 75; ++row) {
        for (std::uint32_t column = 0; column < 150; ++column) {
            // Same colours, different alpha.
            larger.At(column, row) = (exact.At(column, row) & 0x00FFFFFFu) | (row << 24);
        }
    }
    ArgbBuffer fromExact = day;
    ArgbBuffer fromLarger = day;
    RecordingGate gate;
    ASSERT_TRUE(BlendTerminator(sun, fromExact.View(), exact.View(), gate));
    ASSERT_TRUE(BlendTerminator(sun, fromLarger.View(), larger.View(), gate));
    EXPECT_EQ(fromExact.pixels, fromLarger.pixels);
    EXPECT_NE(fromExact.pixels, day.pixels);
}

TEST(TerminatorKernel, EntersEveryColumnOnceInOrder) {
    const SunInstant sun = SunInstantAt(2005, 5, 5, 5, 5, 5);
    ArgbBuffer day(200, 3, 0xFF000000u);
    const ArgbBuffer night(200, 3, 0xFFFFFFFFu);
    RecordingGate gate;
    ASSERT_TRUE(BlendTerminator(sun, day.View(), night.View(), gate));
    ASSERT_EQ(gate.entered.size(), 200u);
    for (std::uint32_t column = 0; column < 200; ++column) {
        EXPECT_EQ(gate.entered[column], column);
    }
}

TEST(TerminatorKernel, StopsAtTheColumnWhoseGateSaysNo) {
    const SunInstant sun = SunInstantAt(2005, 5, 5, 5, 5, 5);
    ArgbBuffer day(200, 3, 0xFF000000u);
    const ArgbBuffer night(200, 3, 0xFFFFFFFFu);
    RecordingGate stopAtStart(0);
    EXPECT_FALSE(BlendTerminator(sun, day.View(), night.View(), stopAtStart));
    EXPECT_EQ(stopAtStart.entered, std::vector<std::uint32_t>{0});
    EXPECT_EQ(day.pixels, ArgbBuffer(200, 3, 0xFF000000u).pixels);

    RecordingGate stopLater(130);
    EXPECT_FALSE(BlendTerminator(sun, day.View(), night.View(), stopLater));
    ASSERT_EQ(stopLater.entered.size(), 131u);
    EXPECT_EQ(stopLater.entered.back(), 130u);
}

TEST(TerminatorKernel, EmptyImagesAreLeftAlone) {
    const SunInstant sun = SunInstantAt(2005, 5, 5, 5, 5, 5);
    ArgbBuffer noRows(5, 0);
    const ArgbBuffer night(5, 5, 0xFFFFFFFFu);
    RecordingGate gate;
    EXPECT_TRUE(BlendTerminator(sun, noRows.View(), night.View(), gate));
    EXPECT_EQ(gate.entered.size(), 5u);
    ArgbBuffer day(40, 20, 0xFFFFFFFFu);
    const ArgbBuffer noNight;
    EXPECT_TRUE(BlendTerminator(sun, day.View(), noNight.View(), gate));
    int black = 0;
    for (const std::uint32_t pixel : day.pixels) {
        EXPECT_EQ((pixel >> 8) & 0xFFu, pixel & 0xFFu) << std::hex << pixel;
        black += pixel == 0xFF000000u;
    }
    EXPECT_GT(black, 40 * 20 / 4);
}
