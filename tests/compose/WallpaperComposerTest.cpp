#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <thread>
#include <tuple>

#include "render/GdiplusBitmapFile.h"
#include "render/OutputFolder.h"
#include "render/WallpaperComposer.h"
#include "settings/SettingsStore.h"
#include "tests/imaging/ImagingTestSupport.h"

namespace {

constexpr int kMapWidth = 256;
constexpr int kMapHeight = 128;
constexpr char kEarlier[] = "an earlier update";

SYSTEMTIME Utc(WORD hour, WORD minute, WORD second = 0) {
    return MakeUtc(2024, 3, 20, hour, minute, second); // the March equinox
}

ColourAt Solid(Gdiplus::ARGB colour) {
    return [colour](int, int) { return colour; };
}

// The wallpaper as the system reports it and as stored in HKCU\Control Panel\Desktop.
void ExpectWallpaper(const std::wstring& expected) {
    std::array<wchar_t, MAX_PATH> path{};
    EXPECT_TRUE(SystemParametersInfoW(SPI_GETDESKWALLPAPER, MAX_PATH, path.data(), 0));
    EXPECT_EQ(path.data(), expected);
    DWORD bytes = sizeof path;
    EXPECT_EQ(RegGetValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"Wallpaper",
                           RRF_RT_REG_SZ, nullptr, path.data(), &bytes),
              ERROR_SUCCESS);
    EXPECT_EQ(path.data(), expected);
}

// A column-coded map as the main image, the prefix's own output folder emptied of the program's
// pictures, and a wallpaper of the test's own on the desktop, so that a run that must not
// install one is seen to leave it.
class WallpaperComposerTest : public testing::Test {
protected:
    void SetUp() override {
        std::wstring outputFolder;
        ASSERT_TRUE(GetOutputFolder(outputFolder));
        wallpaperPath = outputFolder + L"\\Pembrix Gloamery Current Image.bmp";
        terminatorPath = outputFolder + L"\\Pembrix Gloamery Terminator Image.bmp";
        TearDown();
        WritePicture(earlierWallpaper, 4, 4, PixelFormat24bppRGB, L"image/bmp",
                     Solid(Opaque(1, 2, 3)));
        std::wstring parameter = earlierWallpaper;
        ASSERT_TRUE(SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, parameter.data(),
                                          SPIF_UPDATEINIFILE | SPIF_SENDWININICHANGE));
        // Column x is coloured (x, 255 - x, 255): red gives the column, and red plus green
        // stays 255 however neighbouring columns are blended.
        WritePicture(mapPath, kMapWidth, kMapHeight, PixelFormat24bppRGB, L"image/bmp",
                     [](int x, int) { return Opaque(x, 255 - x, 255); });
        settings.SetSrcImgPath(mapPath);
        settings.SetNoonPixel(100);
    }

    void TearDown() override {
        DeleteFileW(terminatorPath.c_str());
        DeleteFileW(wallpaperPath.c_str());
        RemoveDirectoryW(wallpaperPath.c_str());
    }

    // The main image becomes the day image; the night image is dark blue all over.
    void UseTerminatorMode(int nightWidth = kMapWidth, int nightHeight = kMapHeight) {
        settings.SetTerminator(1);
        const std::wstring nightPath = scratch.File(L"night.bmp");
        WritePicture(nightPath, nightWidth, nightHeight, PixelFormat24bppRGB, L"image/bmp",
                     Solid(Opaque(0, 0, 40)));
        settings.SetSrc2ImgPath(nightPath);
    }

    UniqueGdipBitmap ComposeAndLoad(const SYSTEMTIME& utc, int screenWidth, int screenHeight) {
        ComposeWallpaperAt(settings, utc, screenWidth, screenHeight);
        UniqueGdipBitmap wallpaper = LoadBitmapFromFile(wallpaperPath);
        EXPECT_TRUE(wallpaper);
        EXPECT_EQ(SizeOf(wallpaper.get()), ImageSize(screenWidth, screenHeight));
        return wallpaper;
    }

    void ExpectDesktopUntouched() {
        ExpectWallpaper(earlierWallpaper);
        EXPECT_EQ(ReadFileBytes(wallpaperPath), kEarlier);
    }

    ScratchFolder scratch;
    SettingsStore settings;
    std::wstring wallpaperPath;
    std::wstring terminatorPath;
    std::wstring earlierWallpaper = scratch.File(L"earlier wallpaper.bmp");
    std::wstring mapPath = scratch.File(L"map.bmp");
};

// For the current time on the primary screen; a stop asked for before the run does not count.
TEST_F(WallpaperComposerTest, CompletedRunInstallsTheWallpaperAndReportsProgressInOrder) {
    settings.SetCancel(1);
    // Whatever a second thread catches of the progress comes from 25, 50, 75, 100 in order.
    std::vector<int> seen{0};
    std::atomic<bool> done{false};
    std::thread watcher([&] {
        while (!done) {
            if (const int now = settings.GetProgress(); now != seen.back()) {
                seen.push_back(now);
            }
            std::this_thread::yield();
        }
    });
    ComposeWallpaper(settings);
    done = true;
    watcher.join();
    EXPECT_EQ(settings.GetCancel(), 0);
    EXPECT_EQ(settings.GetProgress(), 100);
    for (std::size_t i = 1; i < seen.size(); ++i) {
        EXPECT_EQ(seen[i] % 25, 0) << seen[i];
        EXPECT_GT(seen[i], seen[i - 1]);
    }
    const UniqueGdipBitmap wallpaper = LoadBitmapFromFile(wallpaperPath);
    ASSERT_TRUE(wallpaper);
    EXPECT_EQ(SizeOf(wallpaper.get()),
              ImageSize(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)));
    ExpectWallpaper(wallpaperPath);
    // No temporary file is left next to the wallpaper.
    const std::size_t slash = wallpaperPath.rfind(L'\\');
    EXPECT_EQ(FolderEntries(wallpaperPath.substr(0, slash)),
              std::vector<std::wstring>{wallpaperPath.substr(slash + 1)});
}

TEST_F(WallpaperComposerTest, NoonColumnLandsInTheMiddleOfTheScreen) {
    const std::tuple<SYSTEMTIME, int, int> cases[] = {
        {Utc(12, 0, 59), 100, 100}, // seconds don't move the map
        {Utc(0, 0), 100, 228},      // half a day: half the map
        {Utc(18, 30), 100, 31},     // 390 minutes: 69.3 columns
        {Utc(6, 7), 100, 162},      // -353 minutes: -62.8 columns, truncated to -62
        {Utc(18, 30), 100 + kMapWidth * 9, 31},
        {Utc(18, 30), 100 - kMapWidth * 4, 31},
    };
    for (const auto& [utc, noonPixel, middleColumn] : cases) {
        SCOPED_TRACE(testing::Message()
                     << utc.wHour << ":" << utc.wMinute << " noon " << noonPixel);
        settings.SetNoonPixel(noonPixel);
        const UniqueGdipBitmap wallpaper = ComposeAndLoad(utc, 512, 256);
        ASSERT_TRUE(wallpaper);
        for (const int y : {0, 128, 255}) {
            EXPECT_NEAR(Red(PixelAt(wallpaper.get(), 256, y)), middleColumn, 2);
        }
    }
}

// Every pixel of the top, middle and bottom rows shows the map at full brightness: no dark
// seam where the pieces meet, no dark edge.
TEST_F(WallpaperComposerTest, NoDarkSeamNorEdgeAndAWideScreenRepeatsTheMap) {
    for (const auto& [width, height] : {std::pair{512, 256}, {1024, kMapHeight}}) {
        const UniqueGdipBitmap wallpaper = ComposeAndLoad(Utc(12, 0), width, height);
        ASSERT_TRUE(wallpaper);
        for (const int y : {0, height / 2, height - 1}) {
            for (int x = 0; x < width; ++x) {
                const Gdiplus::ARGB colour = PixelAt(wallpaper.get(), x, y);
                ASSERT_NEAR(Red(colour) + Green(colour), 255, 5) << x << ", " << y;
                ASSERT_GE(Blue(colour), 250) << x << ", " << y;
            }
        }
        if (width == 512) {
            // The strip starts at map column 228 and wraps: the map's last column gives way to
            // its first at screen column 56.
            EXPECT_GE(Red(PixelAt(wallpaper.get(), 55, 100)), 250);
            EXPECT_LE(Red(PixelAt(wallpaper.get(), 56, 100)), 5);
        } else {
            // Scale 1 and a strip four map widths long from column 100.
            for (int x = 0; x < width; ++x) {
                ASSERT_NEAR(Red(PixelAt(wallpaper.get(), x, 64)), (100 + x) % kMapWidth, 1) << x;
            }
        }
    }
}

TEST_F(WallpaperComposerTest, PalettePictureIsDrawnInItsOwnColours) {
    const std::wstring palettePath = scratch.File(L"palette.bmp");
    const Gdiplus::ARGB colour = Opaque(0x33, 0x66, 0x99);
    WritePicture(palettePath, 64, 32, PixelFormat8bppIndexed, L"image/bmp", Solid(colour));
    Gdiplus::PixelFormat format = 0;
    Gdiplus::DllExports::GdipGetImagePixelFormat(LoadBitmapFromFile(palettePath).get(), &format);
    ASSERT_EQ(format, PixelFormat8bppIndexed);
    settings.SetSrcImgPath(palettePath);
    const UniqueGdipBitmap wallpaper = ComposeAndLoad(Utc(12, 0), 128, 64);
    ASSERT_TRUE(wallpaper);
    const Gdiplus::ARGB middle = PixelAt(wallpaper.get(), 64, 32);
    EXPECT_NEAR(Red(middle), 0x33, 2);
    EXPECT_NEAR(Green(middle), 0x66, 2);
    EXPECT_NEAR(Blue(middle), 0x99, 2);
}

TEST_F(WallpaperComposerTest, UnloadablePictureOrScreenOfNoSizeChangesNothing) {
    WriteFileBytes(wallpaperPath, kEarlier);
    const std::wstring notAPicture = scratch.File(L"notes.bmp");
    WriteFileBytes(notAPicture, "this is not a picture");
    const std::tuple<std::wstring, int, int> cases[] = {
        {notAPicture, 512, 256}, {scratch.File(L"missing.bmp"), 512, 256},
        {L"", 512, 256},         {mapPath, 0, 0},
        {mapPath, 512, 0},       {mapPath, 0, 256},
        {mapPath, -512, 256}};
    for (const auto& [picture, width, height] : cases) {
        SCOPED_TRACE(testing::Message() << "\"" << picture << "\" " << width << "x" << height);
        settings.SetSrcImgPath(picture);
        settings.SetProgress(7);
        ComposeWallpaperAt(settings, Utc(12, 0), width, height);
        EXPECT_EQ(settings.GetProgress(), 7);
        ExpectDesktopUntouched();
    }
}

TEST_F(WallpaperComposerTest, FailedSaveLeavesTheDesktopAlone) {
    // A folder where the wallpaper file belongs cannot be replaced.
    ASSERT_TRUE(CreateDirectoryW(wallpaperPath.c_str(), nullptr));
    ComposeWallpaperAt(settings, Utc(12, 0), 512, 256);
    EXPECT_EQ(settings.GetProgress(), 50);
    ExpectWallpaper(earlierWallpaper);
}

TEST_F(WallpaperComposerTest, TerminatorModeWritesBothPicturesAndNoProgressOfItsOwn) {
    UseTerminatorMode();
    // 12:00 UTC at the equinox: day from about map column 64 to 192, night beyond.
    const UniqueGdipBitmap wallpaper = ComposeAndLoad(Utc(12, 0), 512, 256);
    ASSERT_TRUE(wallpaper);
    const UniqueGdipBitmap rendered = LoadBitmapFromFile(terminatorPath);
    ASSERT_TRUE(rendered);
    EXPECT_EQ(SizeOf(rendered.get()), ImageSize(kMapWidth, kMapHeight));
    ExpectWallpaper(wallpaperPath);
    // The wallpaper shows the rendering: the noon column 100 in daylight, map column 20
    // (screen column 96) in the night.
    const Gdiplus::ARGB middle = PixelAt(wallpaper.get(), 256, 128);
    EXPECT_NEAR(Red(middle), 100, 2);
    EXPECT_GE(Blue(middle), 250);
    EXPECT_EQ(PixelAt(wallpaper.get(), 96, 128), Opaque(0, 0, 40));
    // The renderer's value before its last column; the composer wrote nothing after it.
    EXPECT_EQ(settings.GetProgress(), 99);
}

TEST_F(WallpaperComposerTest, TerminatorModeStopDuringRenderingLeavesNoWallpaper) {
    // Large enough that rendering is still under way when the stop arrives.
    UseTerminatorMode(4096, 2048);
    WritePicture(mapPath, 4096, 2048, PixelFormat24bppRGB, L"image/bmp",
                 Solid(Opaque(200, 200, 200)));
    // An earlier rendering that could be shown: a stopped run must not fall back on it.
    ASSERT_TRUE(CopyFileW(earlierWallpaper.c_str(), terminatorPath.c_str(), FALSE));
    WriteFileBytes(wallpaperPath, kEarlier);

    std::atomic<bool> finished{false};
    std::thread stopper([&] {
        while (settings.GetProgress() < 1 && !finished) {
            std::this_thread::yield();
        }
        settings.SetCancel(1);
    });
    ComposeWallpaperAt(settings, Utc(12, 0), 512, 256);
    finished = true;
    stopper.join();

    EXPECT_GE(settings.GetProgress(), 1);
    EXPECT_LT(settings.GetProgress(), 99);
    EXPECT_EQ(ReadFileBytes(terminatorPath), ReadFileBytes(earlierWallpaper));
    ExpectDesktopUntouched();
}

// Without an earlier rendering nothing changes; with one, the wallpaper shows it.
TEST_F(WallpaperComposerTest, TerminatorModeWithUnreadableImagesFallsBackOnTheEarlierRendering) {
    UseTerminatorMode();
    settings.SetSrcImgPath(scratch.File(L"missing.bmp"));
    WriteFileBytes(wallpaperPath, kEarlier);
    settings.SetProgress(7);
    ComposeWallpaperAt(settings, Utc(12, 0), 512, 256);
    EXPECT_FALSE(FileExists(terminatorPath));
    EXPECT_EQ(settings.GetProgress(), 7);
    ExpectDesktopUntouched();

    ASSERT_TRUE(CopyFileW(mapPath.c_str(), terminatorPath.c_str(), FALSE));
    const UniqueGdipBitmap wallpaper = ComposeAndLoad(Utc(12, 0), 512, 256);
    ASSERT_TRUE(wallpaper);
    EXPECT_NEAR(Red(PixelAt(wallpaper.get(), 256, 128)), 100, 2);
    ExpectWallpaper(wallpaperPath);
}

} // namespace
