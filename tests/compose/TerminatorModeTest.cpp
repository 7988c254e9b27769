#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "tests/compose/ComposerFixture.h"

namespace {

// The day image is the column-coded map; the night image is dark blue all over.
class TerminatorModeTest : public WallpaperComposerTest {
protected:
    void SetUp() override {
        WallpaperComposerTest::SetUp();
        settings.SetTerminator(1);
        const std::wstring nightPath = scratch.File(L"night.bmp");
        WriteMap(nightPath, kMapWidth, kMapHeight, Opaque(0, 0, 40));
        settings.SetSrc2ImgPath(nightPath);
    }

    static void WriteMap(const std::wstring& path, int width, int height, Gdiplus::ARGB colour) {
        const UniqueGdipBitmap map =
            MakeBitmap(width, height, PixelFormat24bppRGB, [colour](int, int) { return colour; });
        WriteBmp(map.get(), path);
    }
};

TEST_F(TerminatorModeTest, WritesBothPicturesAndNoProgressOfItsOwn) {
    ProgressRecorder recorder(settings);
    // 12:00 UTC at the March equinox: day from about map column 64 to 192, night beyond.
    const UniqueGdipBitmap wallpaper = ComposeAndLoad(Utc(12, 0), 512, 256);
    const std::vector<int> seen = recorder.Stop();
    ASSERT_TRUE(wallpaper);

    const UniqueGdipBitmap rendered = LoadBitmapFromFile(terminatorPath);
    ASSERT_TRUE(rendered);
    EXPECT_EQ(ImageWidth(rendered.get()), UINT(kMapWidth));
    EXPECT_EQ(ImageHeight(rendered.get()), UINT(kMapHeight));
    EXPECT_EQ(SystemWallpaper(), wallpaperPath);
    EXPECT_EQ(RegistryWallpaper(), wallpaperPath);

    // The wallpaper shows the rendered picture: the noon column 100 lies in daylight, map
    // column 20 (screen column 96) in the night.
    const Gdiplus::ARGB middle = PixelAt(wallpaper.get(), 256, 128);
    EXPECT_NEAR(Red(middle), 100, 2);
    EXPECT_GE(Blue(middle), 250);
    EXPECT_EQ(PixelAt(wallpaper.get(), 96, 128), Opaque(0, 0, 40));

    // The renderer's last value, written before its last column; nothing from the composer.
    EXPECT_EQ(settings.GetProgress(), 99);
    EXPECT_EQ(std::count(seen.begin(), seen.end(), 100), 0);
}

TEST_F(TerminatorModeTest, StopDuringRenderingEndsTheRunWithoutAWallpaper) {
    // Large enough that rendering is still under way when the stop arrives.
    const std::wstring bigDay = scratch.File(L"big day.bmp");
    const std::wstring bigNight = scratch.File(L"big night.bmp");
    WriteMap(bigDay, 4096, 2048, Opaque(200, 200, 200));
    WriteMap(bigNight, 4096, 2048, Opaque(0, 0, 40));
    settings.SetSrcImgPath(bigDay);
    settings.SetSrc2ImgPath(bigNight);
    WriteFileBytes(terminatorPath, "an earlier rendering");
    WriteFileBytes(wallpaperPath, "an earlier update");
    settings.SetProgress(0);

    std::atomic<bool> finished{false};
    std::thread stopper([&] {
        while (settings.GetProgress() < 1 && !finished.load()) {
            std::this_thread::yield();
        }
        settings.SetCancel(1);
    });
    ComposeWallpaperAt(settings, Utc(12, 0), 512, 256);
    finished = true;
    stopper.join();

    const int progress = settings.GetProgress();
    EXPECT_GE(progress, 1);
    EXPECT_LT(progress, 99);
    EXPECT_EQ(ReadFileBytes(terminatorPath), "an earlier rendering");
    ExpectDesktopUntouched("an earlier update");
}

TEST_F(TerminatorModeTest, UnreadableImagesWithNoEarlierRenderingChangeNothing) {
    WriteFileBytes(wallpaperPath, "an earlier update");
    settings.SetSrcImgPath(scratch.File(L"missing.bmp"));
    settings.SetProgress(7);
    ComposeWallpaperAt(settings, Utc(12, 0), 512, 256);

    EXPECT_FALSE(FileExists(terminatorPath));
    EXPECT_EQ(settings.GetProgress(), 7);
    ExpectDesktopUntouched("an earlier update");
}

TEST_F(TerminatorModeTest, UnreadableImagesShowTheEarlierRendering) {
    // The main image doubles as the rendering an earlier update left behind.
    ASSERT_TRUE(CopyFileW(mapPath.c_str(), terminatorPath.c_str(), FALSE));
    settings.SetSrcImgPath(scratch.File(L"missing.bmp"));
    const UniqueGdipBitmap wallpaper = ComposeAndLoad(Utc(12, 0), 512, 256);
    ASSERT_TRUE(wallpaper);
    EXPECT_NEAR(Red(PixelAt(wallpaper.get(), 256, 128)), 100, 2);
    EXPECT_EQ(SystemWallpaper(), wallpaperPath);
}

} // namespace
