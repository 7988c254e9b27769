// The composer's wiring: settings in, a wallpaper in the output folder and on the desktop out.
// Where the map lands on the screen is the screen geometry's own test.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <atomic>
#include <functional>
#include <thread>
#include <tuple>

#include "render/OutputFolder.h"
#include "render/WallpaperComposer.h"
#include "settings/SettingsStore.h"
#include "tests/imaging/ImagingTestSupport.h"

namespace {

// A 256 x 128 map whose column x is coloured (x, 255 - x, 255): red names the column, and red
// plus green stays 255 however neighbouring columns are blended. The output folder holds none of
// the program's pictures, and the desktop has a wallpaper of the test's own.
class WallpaperComposerTest : public testing::Test {
protected:
    void SetUp() override {
        TearDown();
        std::wstring earlier = L"earlier.bmp";
        SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, earlier.data(), SPIF_UPDATEINIFILE);
        WriteFileBytes(
            map, BmpPicture(256, 128, [](int x, int) { return x << 16 | (255 - x) << 8 | 255u; }));
        settings.SetSrcImgPath(map);
        settings.SetNoonPixel(100);
    }
    void TearDown() override {
        DeleteFileW(rendering.c_str());
        DeleteFileW(wallpaper.c_str());
        RemoveDirectoryW(wallpaper.c_str());
    }

    // Composes at this time of the March equinox while another thread records every new
    // progress value and hands it to onProgress.
    std::vector<int> Compose(
        WORD hour, WORD minute, int width, int height,
        const std::function<void()>& onProgress = [] {}) {
        std::vector<int> seen{settings.GetProgress()};
        std::atomic<bool> done{false};
        std::thread watcher([&] {
            for (bool last = false; !last; std::this_thread::yield()) {
                last = done; // one more look after the run has ended
                if (const int now = settings.GetProgress(); now != seen.back()) {
                    seen.push_back(now);
                    onProgress();
                }
            }
        });
        ComposeWallpaperAt(settings, MakeUtc(2024, 3, 20, hour, minute, 0), width, height);
        done = true;
        watcher.join();
        return seen;
    }

    ScratchFolder scratch;
    SettingsStore settings;
    const std::wstring wallpaper = MakeOutputPath(L"Pembrix Gloamery Current Image.bmp");
    const std::wstring rendering = MakeOutputPath(L"Pembrix Gloamery Terminator Image.bmp");
    const std::wstring map = scratch.File(L"map.bmp");
};

// A stop asked for before the run does not count; the progress goes 25, 50, 75, 100. At 18:30
// the map's noon column 100 has moved to 31; on a screen five map widths wide at twice the map's
// size it sits in the middle, and no dark seam shows where pieces meet nor at the edges.
TEST_F(WallpaperComposerTest, DayUpdateInstallsTheWallpaperAndReportsProgressInOrder) {
    settings.SetCancel(1);
    const std::vector<int> seen = Compose(18, 30, 2560, 256);
    EXPECT_EQ(seen.back(), 100);
    for (std::size_t i = 1; i < seen.size(); ++i) {
        EXPECT_TRUE(seen[i] % 25 == 0 && seen[i] > seen[i - 1]) << seen[i];
    }
    EXPECT_EQ(DesktopSetting(L"Wallpaper"), wallpaper);
    const ArgbBuffer picture = ReadPicture(wallpaper);
    ASSERT_EQ(picture.width * picture.height, 2560u * 256u);
    EXPECT_NEAR(picture.At(1280, 128) >> 16 & 0xFF, 31, 2);
    const auto row = picture.pixels.begin() + 200 * 2560;
    EXPECT_TRUE(std::all_of(row, row + 2560, [](std::uint32_t c) {
        return std::abs(int(c >> 16 & 0xFF) + int(c >> 8 & 0xFF) - 255) <= 5 && (c & 0xFF) >= 250;
    }));
}

// The map is rendered with a dark blue night image into the output folder first, and the
// wallpaper shows that rendering (12:00 at the equinox: map column 20 is night); the progress is
// the renderer's alone. A stop while rendering leaves an earlier rendering unused and saves no
// wallpaper. When the images cannot be read, the rendering an earlier update left is shown.
TEST_F(WallpaperComposerTest, DayAndNightUpdateRendersFirstStopsWhenAskedAndFallsBack) {
    settings.SetTerminator(1);
    settings.SetSrc2ImgPath(scratch.File(L"night.bmp"));
    WriteFileBytes(scratch.File(L"night.bmp"), BmpPicture(256, 128, [](int, int) { return 40u; }));
    Compose(12, 0, 512, 256);
    EXPECT_EQ(ReadPicture(rendering).width, 256u);
    EXPECT_EQ(DesktopSetting(L"Wallpaper"), wallpaper);
    EXPECT_EQ(ReadPicture(wallpaper).At(96, 128), 0xFF000028u);
    EXPECT_EQ(settings.GetProgress(), 99);

    // Large enough that rendering is still under way when the stop arrives.
    const std::string earlier = BmpPicture(4096, 2048, [](int, int) { return 0u; });
    WriteFileBytes(map, earlier);
    WriteFileBytes(rendering, earlier);
    ASSERT_TRUE(DeleteFileW(wallpaper.c_str()));
    Compose(12, 0, 512, 256, [&] { settings.SetCancel(1); });
    EXPECT_LT(settings.GetProgress(), 99);
    EXPECT_TRUE(ReadFileBytes(rendering) == earlier);
    EXPECT_FALSE(FileExists(wallpaper));

    // A wallpaper that can't be saved still leaves the new rendering in its file.
    ASSERT_TRUE(CreateDirectoryW(wallpaper.c_str(), nullptr));
    Compose(12, 0, 512, 256);
    EXPECT_FALSE(ReadFileBytes(rendering) == earlier);
    RemoveDirectoryW(wallpaper.c_str());

    // Without its night image, that rendering is shown and the maps' status names the file.
    settings.SetSrc2ImgPath(scratch.File(L"missing.bmp"));
    Compose(12, 0, 512, 256);
    EXPECT_TRUE(FileExists(wallpaper));
    EXPECT_EQ(settings.GetMapStatus(),
              (MapStatus{MapProblem::notFound, scratch.File(L"missing.bmp")}));
}

// A missing map, one larger than memory, a screen of no size, a folder where the wallpaper file
// belongs: nothing is installed, the progress shows how far the run came, and the maps' status
// says what was wrong with them, or nothing once they could be used (a file that is no picture
// is the renderer's test).
TEST_F(WallpaperComposerTest, FailedUpdatesLeaveTheDesktopAlone) {
    WriteFileBytes(scratch.File(L"huge.bmp"), BmpBytes(100000, 100000, 4096));
    using enum MapProblem;
    const std::tuple<std::wstring, int, bool, int, MapProblem> cases[] = {
        {scratch.File(L"missing.bmp"), 512, false, 7, notFound},
        {scratch.File(L"huge.bmp"), 512, false, 7, tooLarge},
        {map, 0, false, 7, none},
        {map, 512, true, 50, none}};
    for (const auto& [picture, width, occupied, progress, problem] : cases) {
        settings.SetSrcImgPath(picture);
        settings.SetProgress(7);
        ASSERT_TRUE(!occupied || CreateDirectoryW(wallpaper.c_str(), nullptr));
        ComposeWallpaperAt(settings, MakeUtc(2024, 3, 20, 12, 0, 0), width, width / 2);
        EXPECT_EQ(settings.GetProgress(), progress) << width << occupied;
        EXPECT_EQ(DesktopSetting(L"Wallpaper"), L"earlier.bmp");
        EXPECT_EQ(settings.GetMapStatus(), (MapStatus{problem, problem == none ? L"" : picture}));
    }
}

} // namespace
