// The day-and-night blend in memory: its rules, its column gate and the fast kernel against
// the per-pixel reference loop.
#include <algorithm>
#include <cmath>
#include <random>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "TerminatorReference.h"
#include "render/core/TerminatorAlpha.h"
#include "render/core/TerminatorBlend.h"
#include "render/core/TerminatorGeometry.h"
#include "render/core/TerminatorKernel.h"
#include "render/core/TerminatorSettingsGate.h"

namespace {

// No alpha (-1) where it is day, the horizon included; 0 to 254 across the twilight band.
TEST(NightAlpha, DayTwilightBandAndNight) {
    const double insideEdge = std::nextafter(kTwilightEdgeDegrees, 0.0);
    const std::pair<double, int> cases[] = {{0.0, -1},    {-1e-300, 0},      {-0.1, 43},
                                            {-0.5, 218},  {insideEdge, 254}, {-0.5833, 255},
                                            {-10.0, 255}, {NAN, 255}};
    for (const auto& [altitude, alpha] : cases) {
        const auto actual = NightAlphaForAltitude(altitude);
        EXPECT_EQ(actual ? *actual : -1, alpha) << altitude;
    }
}

// Alpha 0 keeps the destination and 255 replaces it; otherwise each channel is rounded to
// nearest: over opaque black, (0xF0 * 64 + 0x10 * 191) / 255 = 72.2 gives 0x48, and over a
// translucent destination the coverage is 128 + 128 * 127 / 255 = 191.7.
TEST(SourceOver, RoundsEachChannelToNearest) {
    const std::uint32_t cases[][3] = {
        {0x40102030, 0x00A0B0C0, 0x40102030}, {0x40102030, 0xFFA0B0C0, 0xFFA0B0C0},
        {0xFF102030, 0x40F0400B, 0xFF482827}, {0xFF102030, 0xC0F0400B, 0xFFB93814},
        {0x80000000, 0x80FFFFFF, 0xC0AAAAAA}, {0x40102030, 0xC0F0400B, 0xD0DF3E0E}};
    for (const auto& [destination, source, result] : cases) {
        EXPECT_EQ(SourceOver(destination, source), result) << std::hex << source;
    }
}

// Pixels sample the Earth at their top-left corner.
TEST(MapGeometry, ColumnsAndRowsSampleAtTheirTopLeftCorner) {
    EXPECT_EQ(std::tuple(ColumnLongitude(0, 360), ColumnLongitude(359, 360),
                         RowLatitude(0, LatitudeStep(180)), RowLatitude(179, LatitudeStep(180))),
              std::tuple(-180.0, 179.0, 90.0, -89.0));
}

// Records the progress the gate writes; its cancel flag reads `flag` from read `from` on.
struct ScriptedSettings {
    int from = -1;
    int flag = 1;
    int reads = 0;
    std::vector<int> progress;
    void SetProgress(int percent) { progress.push_back(percent); }
    int GetCancel() { return from >= 0 && reads++ >= from ? flag : 0; }

    // Blends through the renderer's gate over these settings.
    bool Blend(const SunInstant& sun, ArgbBuffer& day, const ArgbBuffer& night) {
        SettingsColumnGate<ScriptedSettings> gate(*this, day.width);
        return BlendTerminator(sun, day.View(), night.View(), gate);
    }
};

// Before each column, in order, the gate writes the percentage finished (in single precision:
// column 3 of 6 gives 49); only a flag of 1 stops, before the next column. A stop before the
// first column leaves the day image as it was.
TEST(TerminatorKernel, GateWritesTheProgressAndStopsAtAFlagOfOne) {
    const ArgbBuffer untouched(6, 3, 0xFF000000u);
    const std::tuple<int, int, std::vector<int>> cases[] = {{-1, 1, {0, 16, 33, 49, 66, 83}},
                                                            {0, 1, {0}},
                                                            {3, 1, {0, 16, 33, 49}},
                                                            {0, 2, {0, 16, 33, 49, 66, 83}}};
    for (const auto& [from, flag, progress] : cases) {
        ScriptedSettings settings{from, flag, 0, {}};
        ArgbBuffer day = untouched;
        EXPECT_EQ(settings.Blend(SunInstantAt(2005, 5, 5, 5, 5, 5), day, ArgbBuffer(6, 3, ~0u)),
                  progress.size() == 6);
        EXPECT_EQ(settings.progress, progress) << from << " " << flag;
        EXPECT_EQ(day.pixels == untouched.pixels, progress.size() < 6) << from << " " << flag;
    }
}

// Random instants and sizes, with night images of the same size, larger (cut to the day image)
// and smaller (the night colour read last carries on), of random alpha; and a clock outside the
// valid years. The per-pixel loop spells out the rules the kernel must keep.
TEST(TerminatorKernel, MatchesThePerPixelLoop) {
    std::mt19937 random(20240621);
    const auto draw = [&random](std::uint32_t low, std::uint32_t high) {
        return std::uniform_int_distribution<std::uint32_t>(low, high)(random);
    };
    const auto noise = [&](std::uint32_t width, std::uint32_t height) {
        ArgbBuffer image(width, height);
        std::generate(image.pixels.begin(), image.pixels.end(), [&] { return random(); });
        return image;
    };
    for (int trial = 0; trial < 150 && !HasFailure(); ++trial) {
        const SunInstant sun = trial == 0 ? SunInstantAt(2150, 1, 1, 0, 0, 0)
                                          : SunInstantAt(draw(1901, 2099), draw(1, 12), draw(1, 31),
                                                         draw(0, 23), draw(0, 59), draw(0, 59));
        ArgbBuffer day = noise(draw(1, 260), draw(1, 130));
        const ArgbBuffer night =
            trial % 2 ? noise(day.width, day.height) : noise(draw(1, 260), draw(1, 260));
        ArgbBuffer expected = day;
        BlendTerminatorReference(sun, expected.View(), night.View());
        EXPECT_TRUE(ScriptedSettings().Blend(sun, day, night));
        EXPECT_TRUE(day.pixels == expected.pixels)
            << day.width << "x" << day.height << " night " << night.width << "x" << night.height;
    }
}

} // namespace
