#pragma once
// The composer's test fixture: a column-coded map as the main image, the prefix's own output
// folder emptied of the wallpaper, and a wallpaper of the test's own on the desktop.

#include <gtest/gtest.h>

#include <string>

#include "render/GdiplusBitmapFile.h"
#include "render/OutputFolder.h"
#include "render/WallpaperComposer.h"
#include "settings/SettingsStore.h"
#include "tests/compose/ComposeTestSupport.h"
#include "tests/imaging/ImagingTestSupport.h"

constexpr int kMapWidth = 256;
constexpr int kMapHeight = 128;

class WallpaperComposerTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(GetOutputFolder(outputFolder));
        wallpaperPath = outputFolder + L"\\Pembrix Gloamery Current Image.bmp";
        terminatorPath = outputFolder + L"\\Pembrix Gloamery Terminator Image.bmp";
        DeleteFileW(wallpaperPath.c_str());
        DeleteFileW(terminatorPath.c_str());
        // A wallpaper of our own, so that a run that must not install one is seen to leave it.
        earlierWallpaper = scratch.File(L"earlier wallpaper.bmp");
        const UniqueGdipBitmap earlier =
            MakeBitmap(4, 4, PixelFormat24bppRGB, [](int, int) { return Opaque(1, 2, 3); });
        WriteBmp(earlier.get(), earlierWallpaper);
        SetSystemWallpaper(earlierWallpaper);

        // Column x of the map is coloured (x, 255 - x, 255): red gives the column, and red
        // plus green stays 255 however neighbouring columns are blended.
        mapPath = scratch.File(L"map.bmp");
        const UniqueGdipBitmap map = MakeBitmap(kMapWidth, kMapHeight, PixelFormat24bppRGB,
                                                [](int x, int) { return Opaque(x, 255 - x, 255); });
        WriteBmp(map.get(), mapPath);
        settings.SetSrcImgPath(mapPath);
        settings.SetNoonPixel(100);
    }

    void TearDown() override {
        DeleteFileW(terminatorPath.c_str());
        DeleteFileW(wallpaperPath.c_str());
        RemoveDirectoryW(wallpaperPath.c_str());
    }

    UniqueGdipBitmap ComposeAndLoad(const SYSTEMTIME& utc, int screenWidth, int screenHeight) {
        ComposeWallpaperAt(settings, utc, screenWidth, screenHeight);
        UniqueGdipBitmap wallpaper = LoadBitmapFromFile(wallpaperPath);
        EXPECT_TRUE(wallpaper);
        if (wallpaper) {
            EXPECT_EQ(ImageWidth(wallpaper.get()), UINT(screenWidth));
            EXPECT_EQ(ImageHeight(wallpaper.get()), UINT(screenHeight));
        }
        return wallpaper;
    }

    void ExpectDesktopUntouched(const std::string& earlierFile) {
        EXPECT_EQ(SystemWallpaper(), earlierWallpaper);
        EXPECT_EQ(RegistryWallpaper(), earlierWallpaper);
        EXPECT_EQ(ReadFileBytes(wallpaperPath), earlierFile);
    }

    // Every pixel of these rows shows the map at full brightness: no dark seam, no dark edge.
    static void ExpectNoDarkening(Gdiplus::GpBitmap* wallpaper, int width, int height) {
        for (const int y : {0, height / 2, height - 1}) {
            for (int x = 0; x < width; ++x) {
                const Gdiplus::ARGB colour = PixelAt(wallpaper, x, y);
                ASSERT_NEAR(Red(colour) + Green(colour), 255, 5) << "at " << x << ", " << y;
                ASSERT_GE(Blue(colour), 250) << "at " << x << ", " << y;
            }
        }
    }

    ScratchFolder scratch;
    SettingsStore settings;
    std::wstring outputFolder;
    std::wstring wallpaperPath;
    std::wstring terminatorPath;
    std::wstring earlierWallpaper;
    std::wstring mapPath;
};
