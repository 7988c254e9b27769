#include <gtest/gtest.h>

#include "render/core/TerminatorBlend.h"

TEST(StrokeColour, TakesAlphaFromTheRuleAndColourFromTheNightPixel) {
    EXPECT_EQ(StrokeColour(255, 0x00123456u), 0xFF123456u);
    EXPECT_EQ(StrokeColour(0, 0xFF123456u), 0x00123456u);
    EXPECT_EQ(StrokeColour(43, 0x80ABCDEFu), 0x2BABCDEFu);
}

TEST(SourceOver, ExtremeAlphasReplaceOrKeep) {
    EXPECT_EQ(SourceOver(0xFF102030u, 0xFFA0B0C0u), 0xFFA0B0C0u);
    EXPECT_EQ(SourceOver(0xFF102030u, 0x00A0B0C0u), 0xFF102030u);
    EXPECT_EQ(SourceOver(0x00000000u, 0xFFA0B0C0u), 0xFFA0B0C0u);
}

TEST(SourceOver, OverOpaquePixelsMixesEachChannelRoundedToNearest) {
    // 255 * 128 / 255 = 128 exactly; 0 + 255 * 127 / 255 = 127.
    EXPECT_EQ(SourceOver(0xFF000000u, 0x80FFFFFFu), 0xFF808080u);
    EXPECT_EQ(SourceOver(0xFFFFFFFFu, 0x80000000u), 0xFF7F7F7Fu);
    // Channel by channel: (200*43 + 10*212) / 255 = 42.04 -> 42; (0*43 + 100*212) / 255 = 83.1
    // -> 83; (50*43 + 251*212) / 255 = 217.1 -> 217.
    EXPECT_EQ(SourceOver(0xFF0A64FBu, 0x2BC80032u), 0xFF2A53D9u);
    // Alpha 1: red (255 * 1 + 0 * 254) / 255 = 1; blue (1 * 1 + 2 * 254) / 255 = 1.996 -> 2.
    EXPECT_EQ(SourceOver(0xFF000002u, 0x01FF0001u), 0xFF010002u);
}

TEST(SourceOver, OverTranslucentPixelsCombinesCoverage) {
    // Over a fully transparent pixel the source shows as it is.
    EXPECT_EQ(SourceOver(0x00FFFFFFu, 0x80204060u), 0x80204060u);
    // Half over half: coverage (128*255 + 128*127) / 255 = 191.75 -> 192; red
    // (255*128*255 + 0) / (128*255 + 128*127) = 170.2 -> 170.
    EXPECT_EQ(SourceOver(0x80000000u, 0x80FF0000u) >> 24, 0xC0u);
    EXPECT_EQ((SourceOver(0x80000000u, 0x80FF0000u) >> 16) & 0xFFu, 170u);
    // An opaque source still replaces a translucent pixel completely.
    EXPECT_EQ(SourceOver(0x40123456u, 0xFF654321u), 0xFF654321u);
}

// Against the blend in real numbers over a grid of inputs: every channel within half a level.
TEST(SourceOver, AgreesWithTheExactFormulaEverywhere) {
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
