// The pieces the blend is made of: the alpha rule, source-over compositing, the column gate's
// progress and cancel, and where a pixel samples the Earth.
#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include <gtest/gtest.h>

#include "render/core/TerminatorAlpha.h"
#include "render/core/TerminatorBlend.h"
#include "render/core/TerminatorGeometry.h"
#include "render/core/TerminatorSettingsGate.h"

// No alpha (-1) where it is day, exactly on the horizon too.
TEST(NightAlpha, DayTwilightBandAndNight) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double insideEdge = std::nextafter(-0.5833, 0.0);
    const std::pair<double, int> cases[] = {
        {90.0, -1},        {1e-300, -1},   {0.0, -1},    {-0.0, -1},  {-1e-300, 0},
        {-1e-9, 0},        {-0.1, 43},     {-0.3, 131},  {-0.5, 218}, {-0.58, 253},
        {insideEdge, 254}, {-0.5833, 255}, {-10.0, 255}, {nan, 255}};
    for (const auto& [altitude, alpha] : cases) {
        const auto actual = NightAlphaForAltitude(altitude);
        EXPECT_EQ(actual ? *actual : -1, alpha) << altitude;
    }
}

TEST(SourceOver, AgreesWithTheExactFormulaRoundedToNearest) {
    // Alpha 0 keeps the destination, alpha 255 replaces it, whatever either's alpha.
    EXPECT_EQ(SourceOver(0x40102030u, 0x00A0B0C0u), 0x40102030u);
    EXPECT_EQ(SourceOver(0x40102030u, 0xFFA0B0C0u), 0xFFA0B0C0u);
    for (unsigned sourceAlpha = 1; sourceAlpha < 255; sourceAlpha += 7) {
        for (unsigned destinationAlpha = 0; destinationAlpha <= 255; destinationAlpha += 15) {
            for (unsigned level = 0; level <= 255; level += 17) {
                const unsigned source = (sourceAlpha << 24) | (level << 16) | ((255 - level) << 8);
                const unsigned destination = (destinationAlpha << 24) | ((255 - level) << 16) | 77;
                const unsigned result = SourceOver(destination, source);
                const double as = sourceAlpha / 255.0;
                const double ad = destinationAlpha / 255.0;
                const double coverage = as + ad * (1 - as);
                ASSERT_NEAR((result >> 24) / 255.0, coverage, 0.5 / 255 + 1e-12);
                for (int shift = 0; shift < 24; shift += 8) {
                    const double cs = (source >> shift) & 0xFF;
                    const double cd = (destination >> shift) & 0xFF;
                    const double exact = (cs * as + cd * ad * (1 - as)) / coverage;
                    ASSERT_NEAR(double((result >> shift) & 0xFF), exact, 0.5 + 1e-9)
                        << std::hex << source << " over " << destination;
                }
            }
        }
    }
}

namespace {

// Records the progress the gate writes and answers its cancel reads: value from read `from` on.
struct ScriptedSettings {
    explicit ScriptedSettings(int cancelFrom = -1, int cancelValue = 1)
        : cancelFrom(cancelFrom), cancelValue(cancelValue) {}
    int cancelFrom;
    int cancelValue;
    std::vector<int> progress;
    int cancelReads = 0;

    void SetProgress(int percent) { progress.push_back(percent); }
    int GetCancel() { return cancelFrom >= 0 && cancelReads++ >= cancelFrom ? cancelValue : 0; }
};

// The columns the gate let through.
std::uint32_t RunColumns(ScriptedSettings& settings, std::uint32_t width) {
    SettingsColumnGate<ScriptedSettings> gate(settings, width);
    std::uint32_t column = 0;
    while (column < width && gate.Enter(column)) {
        ++column;
    }
    return column;
}

} // namespace

// The percentage of columns finished goes out before each column; only a flag of 1 stops the
// run, at the next column, and one set before the start lets no column through.
TEST(SettingsColumnGate, WritesTheProgressAndStopsAtAFlagOfOne) {
    const struct {
        std::uint32_t width, columns;
        int cancelFrom, cancelValue;
        std::vector<int> progress;
    } cases[] = {{1, 1, -1, 1, {0}},
                 {3, 3, -1, 1, {0, 33, 66}},
                 {4, 4, -1, 1, {0, 25, 50, 75}},
                 {6, 6, -1, 1, {0, 16, 33, 49, 66, 83}},
                 {6, 0, 0, 1, {0}},
                 {6, 3, 3, 1, {0, 16, 33, 49}},
                 {6, 6, 0, 2, {0, 16, 33, 49, 66, 83}}};
    for (const auto& c : cases) {
        ScriptedSettings settings(c.cancelFrom, c.cancelValue);
        EXPECT_EQ(RunColumns(settings, c.width), c.columns) << c.width << " " << c.cancelFrom;
        EXPECT_EQ(settings.progress, c.progress) << c.width << " " << c.cancelFrom;
    }
    // Never 100 and never back, also for wide maps.
    for (const std::uint32_t width : {2u, 7u, 99u, 100u, 101u, 1000u, 2048u, 8191u, 8192u}) {
        ScriptedSettings settings;
        RunColumns(settings, width);
        ASSERT_LE(settings.progress.back(), 99) << width;
        ASSERT_TRUE(std::is_sorted(settings.progress.begin(), settings.progress.end())) << width;
    }
}

// Pixels sample at their top-left corner: column 0 at longitude -180, row 0 at latitude +90.
TEST(MapGeometry, ColumnsAndRowsSampleFromTheTopLeftEdge) {
    EXPECT_EQ(ColumnLongitude(0, 360), -180.0);
    EXPECT_EQ(ColumnLongitude(180, 360), 0.0);
    EXPECT_EQ(ColumnLongitude(359, 360), 179.0);
    EXPECT_DOUBLE_EQ(ColumnLongitude(2, 3), 60.0);
    EXPECT_EQ(LatitudeStep(180), 1.0);
    EXPECT_EQ(RowLatitude(0, 1.0), 90.0);
    EXPECT_EQ(RowLatitude(179, 1.0), -89.0);
    EXPECT_DOUBLE_EQ(RowLatitude(2, LatitudeStep(7)), 90.0 - 360.0 / 7);
}
