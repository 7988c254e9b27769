// The renderer end to end: pictures written to a scratch folder, rendered through Wine's GDI+,
// and the BMP it saves read back.
#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <set>
#include <thread>

#include "RendererTestSupport.h"
#include "render/TerminatorRenderer.h"
#include "render/core/TerminatorAlpha.h"
#include "render/core/TerminatorGeometry.h"
#include "settings/SettingsStore.h"

namespace {

// Noise that differs from pixel to pixel, so that a pixel taken from the wrong place shows.
Gdiplus::ARGB Noise(int x, int y, unsigned seed) {
    std::uint32_t value = static_cast<std::uint32_t>(x) * 73856093u ^
                          static_cast<std::uint32_t>(y) * 19349663u ^ seed * 83492791u;
    value ^= value >> 13;
    value *= 0x5bd1e995u;
    value ^= value >> 15;
    return 0xFF000000u | (value & 0x00FFFFFFu);
}

class TerminatorRendererTest : public testing::Test {
protected:
    void UsePictures(const std::wstring& dayName, const std::wstring& nightName) {
        dayPath = folder.File(dayName);
        nightPath = folder.File(nightName);
        settings.SetSrcImgPath(dayPath);
        settings.SetSrc2ImgPath(nightPath);
    }

    void WriteNoise(const std::wstring& path, int width, int height, unsigned seed) {
        WritePicture(path, width, height, PixelFormat24bppRGB, L"image/bmp",
                     [seed](int x, int y) { return Noise(x, y, seed); });
    }

    ArgbBuffer Render(const SYSTEMTIME& utc) {
        RenderTerminatorImageAt(outputPath, settings, utc);
        return ReadPicture(outputPath);
    }

    ScratchFolder folder;
    SettingsStore settings;
    std::wstring dayPath;
    std::wstring nightPath;
    std::wstring outputPath = folder.File(L"Pembrix Gloamery Terminator Image.bmp");
};

} // namespace

TEST_F(TerminatorRendererTest, SavesThePerPixelBlendAsBmp) {
    UsePictures(L"day.bmp", L"night.bmp");
    WriteNoise(dayPath, 144, 72, 1);
    WriteNoise(nightPath, 144, 72, 2);
    const SYSTEMTIME utc = MakeUtc(2003, 11, 17, 1, 24, 17);
    const ArgbBuffer output = Render(utc);
    ASSERT_EQ(output.width, 144u);
    ASSERT_EQ(output.height, 72u);
    EXPECT_EQ(CountColourDifferences(utc, output, ExpectedBlend(utc, dayPath, nightPath)), 0);

    // The file is a BMP: it starts with "BM".
    EXPECT_EQ(ReadFileBytes(outputPath).substr(0, 2), "BM");
    // Day pixels are the day picture's own and night pixels the night picture's.
    const ArgbBuffer day = ReadPicture(dayPath);
    const ArgbBuffer night = ReadPicture(nightPath);
    const SunInstant sun = SunFor(utc);
    int days = 0;
    int nights = 0;
    for (std::uint32_t row = 0; row < 72; ++row) {
        for (std::uint32_t column = 0; column < 144; ++column) {
            const auto alpha = NightAlphaForAltitude(
                AltitudeAt(sun, ColumnLongitude(column, 144), RowLatitude(row, 2.5)));
            if (!alpha) {
                ++days;
                EXPECT_EQ(output.At(column, row), day.At(column, row));
            } else if (*alpha == 255) {
                ++nights;
                EXPECT_EQ(output.At(column, row), night.At(column, row));
            }
        }
    }
    EXPECT_GT(days, 1000);
    EXPECT_GT(nights, 1000);
}

// With a black day and a white night the saved grey level is the alpha itself. For each alpha
// of interest an instant is sought at which one pixel's altitude gives it.
TEST_F(TerminatorRendererTest, TwilightAlphasReachTheFile) {
    UsePictures(L"black.bmp", L"white.bmp");
    WritePicture(dayPath, 12, 6, PixelFormat24bppRGB, L"image/bmp",
                 [](int, int) { return 0xFF000000u; });
    WritePicture(nightPath, 12, 6, PixelFormat24bppRGB, L"image/bmp",
                 [](int, int) { return 0xFFFFFFFFu; });
    const std::uint32_t column = 4;
    const std::uint32_t row = 1; // latitude 60: the sun moves slowly enough to stop on each step
    const double longitude = ColumnLongitude(column, 12);
    const double latitude = RowLatitude(row, LatitudeStep(6));
    for (const int wanted : {0, 43, 131, 218, 253, 254, 255}) {
        std::optional<SYSTEMTIME> found;
        for (int second = 0; second < 86400 && !found; ++second) {
            const SYSTEMTIME utc = MakeUtc(2021, 9, 23, WORD(second / 3600), WORD(second / 60 % 60),
                                           WORD(second % 60));
            const auto alpha = NightAlphaForAltitude(AltitudeAt(SunFor(utc), longitude, latitude));
            if (alpha && *alpha == wanted) {
                found = utc;
            }
        }
        ASSERT_TRUE(found.has_value()) << wanted;
        const ArgbBuffer output = Render(*found);
        ASSERT_EQ(output.width, 12u);
        EXPECT_EQ(output.At(column, row), 0xFF000000u | 0x010101u * wanted) << wanted;
        EXPECT_EQ(CountColourDifferences(*found, output, ExpectedBlend(*found, dayPath, nightPath)),
                  0);
    }
}

TEST_F(TerminatorRendererTest, OutsideASmallerNightImageTheLastNightColourRepeats) {
    UsePictures(L"day.bmp", L"night.bmp");
    WriteNoise(dayPath, 120, 60, 3);
    WriteNoise(nightPath, 50, 20, 4);
    for (const SYSTEMTIME& utc : {MakeUtc(2022, 12, 20, 8, 0, 0), MakeUtc(2022, 6, 20, 20, 0, 0)}) {
        const ArgbBuffer output = Render(utc);
        ASSERT_EQ(output.width, 120u);
        EXPECT_EQ(CountColourDifferences(utc, output, ExpectedBlend(utc, dayPath, nightPath)), 0);
    }
}

TEST_F(TerminatorRendererTest, OnlyTheTopLeftPartOfALargerNightImageIsUsed) {
    UsePictures(L"day.bmp", L"night.bmp");
    WriteNoise(dayPath, 100, 50, 5);
    WriteNoise(nightPath, 130, 77, 6);
    const SYSTEMTIME utc = MakeUtc(2030, 2, 14, 14, 0, 0);
    const ArgbBuffer output = Render(utc);
    ASSERT_EQ(output.width, 100u);
    ASSERT_EQ(output.height, 50u);
    EXPECT_EQ(CountColourDifferences(utc, output, ExpectedBlend(utc, dayPath, nightPath)), 0);
}

TEST_F(TerminatorRendererTest, TheNightImagesOwnAlphaPlaysNoPart) {
    UsePictures(L"day.bmp", L"night.png");
    WriteNoise(dayPath, 90, 45, 7);
    // Same colours, alpha from fully transparent to opaque.
    WritePicture(nightPath, 90, 45, PixelFormat32bppARGB, L"image/png", [](int x, int y) {
        return (Noise(x, y, 8) & 0x00FFFFFFu) |
               (static_cast<Gdiplus::ARGB>((x * 7 + y) % 256) << 24);
    });
    const std::wstring opaquePath = folder.File(L"opaque.bmp");
    WriteNoise(opaquePath, 90, 45, 8);
    const SYSTEMTIME utc = MakeUtc(2012, 3, 3, 3, 3, 3);
    const ArgbBuffer fromTranslucent = Render(utc);
    settings.SetSrc2ImgPath(opaquePath);
    const ArgbBuffer fromOpaque = Render(utc);
    ASSERT_EQ(fromTranslucent.pixels.size(), 90u * 45u);
    EXPECT_EQ(fromTranslucent.pixels, fromOpaque.pixels);
    EXPECT_NE(fromOpaque.pixels, ReadPicture(dayPath).pixels);
}

TEST_F(TerminatorRendererTest, AClockOutsideTheValidYearsRendersForJulianDateZero) {
    UsePictures(L"day.bmp", L"night.bmp");
    WriteNoise(dayPath, 96, 48, 9);
    WriteNoise(nightPath, 96, 48, 10);
    for (const SYSTEMTIME& utc : {MakeUtc(2150, 7, 1, 12, 0, 0), MakeUtc(1899, 7, 1, 18, 0, 0)}) {
        ASSERT_EQ(SunFor(utc).julianDate, 0.0);
        const ArgbBuffer output = Render(utc);
        ASSERT_EQ(output.width, 96u);
        EXPECT_EQ(CountColourDifferences(utc, output, ExpectedBlend(utc, dayPath, nightPath)), 0);
        ASSERT_TRUE(DeleteFileW(outputPath.c_str()));
    }
}

// The output bitmap takes the day image's format; 32-bit ones are blended like 24-bit ones.
TEST_F(TerminatorRendererTest, ThirtyTwoBitDayImagesAreBlendedToo) {
    UsePictures(L"day.png", L"night.bmp");
    WriteNoise(nightPath, 64, 32, 12);
    const SYSTEMTIME utc = MakeUtc(2025, 1, 1, 0, 0, 0);
    for (const Gdiplus::PixelFormat format : {PixelFormat32bppARGB, PixelFormat32bppRGB}) {
        WritePicture(dayPath, 64, 32, format, L"image/png",
                     [](int x, int y) { return Noise(x, y, 11); });
        const ArgbBuffer output = Render(utc);
        ASSERT_EQ(output.width, 64u) << format;
        EXPECT_EQ(CountColourDifferences(utc, output, ExpectedBlend(utc, dayPath, nightPath)), 0);
        ASSERT_TRUE(DeleteFileW(outputPath.c_str()));
    }
}

TEST_F(TerminatorRendererTest, ProgressBeforeTheLastColumnIsLeftBehind) {
    UsePictures(L"day.bmp", L"night.bmp");
    const std::pair<int, int> widthsAndLast[] = {{3, 66}, {4, 75}, {6, 83}};
    for (const auto& [width, last] : widthsAndLast) {
        WriteNoise(dayPath, width, 4, 13);
        WriteNoise(nightPath, width, 4, 14);
        settings.SetProgress(100);
        RenderTerminatorImageAt(outputPath, settings, MakeUtc(2010, 10, 10, 10, 10, 10));
        EXPECT_EQ(settings.GetProgress(), last) << width;
        EXPECT_TRUE(FileExists(outputPath));
    }
}

TEST_F(TerminatorRendererTest, CancelledBeforeTheStartWritesProgressZeroAndSavesNothing) {
    UsePictures(L"day.bmp", L"night.bmp");
    WriteNoise(dayPath, 40, 20, 15);
    WriteNoise(nightPath, 40, 20, 16);
    WriteFileBytes(outputPath, "an earlier picture");
    settings.SetProgress(57);
    settings.SetCancel(1);
    RenderTerminatorImageAt(outputPath, settings, MakeUtc(2010, 10, 10, 10, 10, 10));
    EXPECT_EQ(settings.GetProgress(), 0);
    EXPECT_EQ(ReadFileBytes(outputPath), "an earlier picture");
    EXPECT_EQ(folder.Entries().size(), 3u); // no temporary file left either
}

// Any flag other than 0 keeps the picture from being saved, though only 1 stops the columns.
TEST_F(TerminatorRendererTest, AnotherCancelValueRunsAllColumnsButSavesNothing) {
    UsePictures(L"day.bmp", L"night.bmp");
    WriteNoise(dayPath, 6, 3, 15);
    WriteNoise(nightPath, 6, 3, 16);
    settings.SetCancel(2);
    RenderTerminatorImageAt(outputPath, settings, MakeUtc(2010, 10, 10, 10, 10, 10));
    EXPECT_EQ(settings.GetProgress(), 83);
    EXPECT_FALSE(FileExists(outputPath));
}

TEST_F(TerminatorRendererTest, AGoodRenderReplacesAnEarlierFile) {
    UsePictures(L"day.bmp", L"night.bmp");
    WriteNoise(dayPath, 30, 15, 17);
    WriteNoise(nightPath, 30, 15, 18);
    WriteFileBytes(outputPath, "an earlier picture");
    const SYSTEMTIME utc = MakeUtc(2001, 1, 1, 0, 0, 0);
    const ArgbBuffer output = Render(utc);
    ASSERT_EQ(output.width, 30u);
    EXPECT_EQ(CountColourDifferences(utc, output, ExpectedBlend(utc, dayPath, nightPath)), 0);
    EXPECT_EQ(folder.Entries(), (std::vector<std::wstring>{L"Pembrix Gloamery Terminator Image.bmp",
                                                           L"day.bmp", L"night.bmp"}));
}

TEST_F(TerminatorRendererTest, TheCurrentTimeIsUsedByThePublicOperation) {
    UsePictures(L"day.bmp", L"night.bmp");
    WriteNoise(dayPath, 48, 24, 19);
    WriteNoise(nightPath, 48, 24, 20);
    SYSTEMTIME before{};
    GetSystemTime(&before);
    RenderTerminatorImage(outputPath, settings);
    SYSTEMTIME after{};
    GetSystemTime(&after);
    const ArgbBuffer output = ReadPicture(outputPath);
    ASSERT_EQ(output.width, 48u);
    // Matches the blend at the moment before or after the call (a second may tick between).
    const int atBefore =
        CountColourDifferences(before, output, ExpectedBlend(before, dayPath, nightPath));
    const int atAfter =
        CountColourDifferences(after, output, ExpectedBlend(after, dayPath, nightPath));
    EXPECT_TRUE(atBefore == 0 || atAfter == 0) << atBefore << " " << atAfter;
}

namespace {

unsigned short FloatingPointControl() {
    unsigned short control = 0;
    __asm__ volatile("fnstcw %0" : "=m"(control));
    return control;
}

void SetFloatingPointControl(unsigned short control) {
    __asm__ volatile("fldcw %0" : : "m"(control));
}

} // namespace

// Threads other than the main one may start with the x87 unit rounding to 53 bits. The renderer
// widens that for its own run and gives the caller's setting back.
TEST_F(TerminatorRendererTest, RendersTheSameOnAThreadWithShortPrecisionAndRestoresIt) {
    UsePictures(L"day.bmp", L"night.bmp");
    WriteNoise(dayPath, 64, 32, 21);
    WriteNoise(nightPath, 64, 32, 22);
    const SYSTEMTIME utc = MakeUtc(2016, 4, 4, 4, 4, 4);
    const ArgbBuffer onMain = Render(utc);
    ASSERT_EQ(onMain.width, 64u);
    ASSERT_TRUE(DeleteFileW(outputPath.c_str()));

    constexpr unsigned short kDoublePrecision = 0x027F;
    unsigned short after = 0;
    std::thread worker([&] {
        SetFloatingPointControl(kDoublePrecision);
        RenderTerminatorImageAt(outputPath, settings, utc);
        after = FloatingPointControl();
    });
    worker.join();
    EXPECT_EQ(after, kDoublePrecision);
    EXPECT_EQ(ReadPicture(outputPath).pixels, onMain.pixels);
}
