#include <gtest/gtest.h>

#include "tests/compose/ComposerFixture.h"

namespace {

TEST_F(WallpaperComposerTest, CompletedRunInstallsTheWallpaperAndReportsProgressInOrder) {
    settings.SetCancel(1); // a stop asked for before the run does not count
    ProgressRecorder recorder(settings);
    const UniqueGdipBitmap wallpaper = ComposeAndLoad(Utc(12, 0), 512, 256);
    const std::vector<int> seen = recorder.Stop();

    EXPECT_EQ(settings.GetCancel(), 0);
    EXPECT_EQ(settings.GetProgress(), 100);
    // Whatever the poller caught comes from 25, 50, 75, 100 in that order.
    ASSERT_GE(seen.size(), 2u);
    EXPECT_EQ(seen.front(), 0);
    EXPECT_EQ(seen.back(), 100);
    for (size_t i = 1; i < seen.size(); ++i) {
        EXPECT_EQ(seen[i] % 25, 0) << seen[i];
        EXPECT_GT(seen[i], seen[i - 1]);
    }
    EXPECT_EQ(SystemWallpaper(), wallpaperPath);
    EXPECT_EQ(RegistryWallpaper(), wallpaperPath);
    // No temporary file is left next to the wallpaper.
    for (const std::wstring& name : FolderEntries(outputFolder)) {
        EXPECT_TRUE(name == L"Pembrix Gloamery Current Image.bmp" ||
                    name == L"Pembrix Gloamery Terminator Image.bmp")
            << std::string(name.begin(), name.end());
    }
}

TEST_F(WallpaperComposerTest, PlainRunFitsThePrimaryScreen) {
    ComposeWallpaper(settings);
    EXPECT_EQ(settings.GetProgress(), 100);
    const UniqueGdipBitmap wallpaper = LoadBitmapFromFile(wallpaperPath);
    ASSERT_TRUE(wallpaper);
    EXPECT_EQ(ImageWidth(wallpaper.get()), UINT(GetSystemMetrics(SM_CXSCREEN)));
    EXPECT_EQ(ImageHeight(wallpaper.get()), UINT(GetSystemMetrics(SM_CYSCREEN)));
    EXPECT_EQ(SystemWallpaper(), wallpaperPath);
}

TEST_F(WallpaperComposerTest, NoonColumnLandsInTheMiddleOfTheScreen) {
    struct Case {
        SYSTEMTIME utc;
        int noonPixel;
        int middleColumn;
    };
    const Case cases[] = {
        {Utc(12, 0, 59), 100, 100}, // seconds don't move the map
        {Utc(0, 0), 100, 228},      // half a day: half the map
        {Utc(18, 30), 100, 31},     // 390 minutes: 69.3 columns
        {Utc(6, 7), 100, 162},      // -353 minutes: -62.8 columns, truncated to -62
        {Utc(18, 30), 100 + kMapWidth * 9, 31},
        {Utc(18, 30), 100 - kMapWidth * 4, 31},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.utc.wHour << ":" << c.utc.wMinute << " noon " << c.noonPixel);
        settings.SetNoonPixel(c.noonPixel);
        const UniqueGdipBitmap wallpaper = ComposeAndLoad(c.utc, 512, 256);
        ASSERT_TRUE(wallpaper);
        for (const int y : {0, 128, 255}) {
            EXPECT_NEAR(Red(PixelAt(wallpaper.get(), 256, y)), c.middleColumn, 2);
        }
    }
}

TEST_F(WallpaperComposerTest, NoDarkSeamWhereThePiecesMeetNorAtTheEdges) {
    // At 12:00 the strip starts at map column 228 and wraps; the pieces meet at screen
    // column 56, where the map's last column gives way to its first.
    const UniqueGdipBitmap wallpaper = ComposeAndLoad(Utc(12, 0), 512, 256);
    ASSERT_TRUE(wallpaper);
    EXPECT_GE(Red(PixelAt(wallpaper.get(), 55, 100)), 250);
    EXPECT_LE(Red(PixelAt(wallpaper.get(), 56, 100)), 5);
    ExpectNoDarkening(wallpaper.get(), 512, 256);
}

TEST_F(WallpaperComposerTest, ScreenWiderThanTheMapShowsItRepeated) {
    // Scale 1 and a strip four map widths long, starting at column 100.
    const UniqueGdipBitmap wallpaper = ComposeAndLoad(Utc(12, 0), 1024, kMapHeight);
    ASSERT_TRUE(wallpaper);
    for (int x = 0; x < 1024; ++x) {
        ASSERT_NEAR(Red(PixelAt(wallpaper.get(), x, 64)), (100 + x) % kMapWidth, 1) << x;
    }
    ExpectNoDarkening(wallpaper.get(), 1024, kMapHeight);
}

TEST_F(WallpaperComposerTest, PalettePictureIsDrawnInItsOwnColours) {
    const std::wstring palettePath = scratch.File(L"palette.bmp");
    WritePaletteBmp(palettePath, 64, 32, 0x24, 0x68, 0xAC);
    settings.SetSrcImgPath(palettePath);
    const UniqueGdipBitmap wallpaper = ComposeAndLoad(Utc(12, 0), 128, 64);
    ASSERT_TRUE(wallpaper);
    const Gdiplus::ARGB middle = PixelAt(wallpaper.get(), 64, 32);
    EXPECT_NEAR(Red(middle), 0x24, 2);
    EXPECT_NEAR(Green(middle), 0x68, 2);
    EXPECT_NEAR(Blue(middle), 0xAC, 2);
}

TEST_F(WallpaperComposerTest, UnloadablePictureChangesNothing) {
    WriteFileBytes(wallpaperPath, "an earlier update");
    const std::wstring notAPicture = scratch.File(L"notes.bmp");
    WriteFileBytes(notAPicture, "this is not a picture");
    for (const std::wstring& path : {notAPicture, scratch.File(L"missing.bmp"), std::wstring()}) {
        SCOPED_TRACE(testing::Message()
                     << "picture \"" << std::string(path.begin(), path.end()) << "\"");
        settings.SetSrcImgPath(path);
        settings.SetProgress(7);
        ComposeWallpaperAt(settings, Utc(12, 0), 512, 256);
        EXPECT_EQ(settings.GetProgress(), 7);
        ExpectDesktopUntouched("an earlier update");
    }
}

TEST_F(WallpaperComposerTest, ScreenOfNoSizeEndsTheRunAsAnUnloadablePictureDoes) {
    WriteFileBytes(wallpaperPath, "an earlier update");
    const int screens[][2] = {{0, 0}, {512, 0}, {0, 256}, {-512, 256}};
    for (const auto& screen : screens) {
        SCOPED_TRACE(testing::Message() << screen[0] << " x " << screen[1]);
        settings.SetProgress(7);
        ComposeWallpaperAt(settings, Utc(12, 0), screen[0], screen[1]);
        EXPECT_EQ(settings.GetProgress(), 7);
        ExpectDesktopUntouched("an earlier update");
    }
}

TEST_F(WallpaperComposerTest, FailedSaveLeavesTheDesktopAlone) {
    // A folder where the wallpaper file belongs cannot be replaced.
    ASSERT_TRUE(CreateDirectoryW(wallpaperPath.c_str(), nullptr));
    ComposeWallpaperAt(settings, Utc(12, 0), 512, 256);
    EXPECT_EQ(settings.GetProgress(), 50);
    EXPECT_EQ(SystemWallpaper(), earlierWallpaper);
    EXPECT_EQ(RegistryWallpaper(), earlierWallpaper);
}

} // namespace
