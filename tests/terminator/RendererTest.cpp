// The renderer end to end: pictures written to a scratch folder, rendered through Wine's GDI+,
// and the BMP it saves read back.
#include <gtest/gtest.h>

#include <optional>
#include <thread>
#include <tuple>
#include <vector>

#include "TerminatorReference.h"
#include "render/GdiplusBitmapFile.h"
#include "render/TerminatorRenderer.h"
#include "settings/SettingsStore.h"
#include "tests/imaging/ImagingTestSupport.h"

namespace {

constexpr char kEarlier[] = "an earlier picture";

// Noise that differs from pixel to pixel, so that a pixel taken from the wrong place shows.
// With translucent set, the alpha runs from 0 to 255 across the picture.
ColourAt Noise(unsigned seed, bool translucent = false) {
    return [=](int x, int y) {
        std::uint32_t value = static_cast<std::uint32_t>(x) * 73856093u ^
                              static_cast<std::uint32_t>(y) * 19349663u ^ seed * 83492791u;
        value ^= value >> 13;
        value *= 0x5bd1e995u;
        value ^= value >> 15;
        const Gdiplus::ARGB alpha = translucent ? (x * 7 + y) % 256 : 255;
        return (alpha << 24) | (value & 0x00FFFFFFu);
    };
}

SunInstant SunFor(const SYSTEMTIME& utc) {
    return SunInstantAt(utc.wYear, utc.wMonth, utc.wDay, utc.wHour, utc.wMinute, utc.wSecond);
}

// A picture file as 32-bit ARGB, as the renderer reads it. Empty when it can't be loaded.
ArgbBuffer ReadPicture(const std::wstring& path) {
    const UniqueGdipBitmap bitmap = LoadBitmapFromFile(path);
    if (!bitmap) {
        return {};
    }
    const auto [width, height] = SizeOf(bitmap.get());
    ArgbBuffer picture(width, height);
    for (UINT y = 0; y < height; ++y) {
        for (UINT x = 0; x < width; ++x) {
            picture.At(x, y) = PixelAt(bitmap.get(), x, y);
        }
    }
    return picture;
}

class TerminatorRendererTest : public testing::Test {
protected:
    TerminatorRendererTest() {
        settings.SetSrcImgPath(dayPath);
        settings.SetSrc2ImgPath(nightPath);
    }

    // Pixels whose colour differs from the per-pixel blend of the day and night pictures at
    // utc (the BMP keeps no alpha); -1 when nothing was saved or the size is wrong.
    int DifferencesFromBlend(const SYSTEMTIME& utc, const ArgbBuffer& output) {
        ArgbBuffer expected = ReadPicture(dayPath);
        BlendTerminatorReference(SunFor(utc), expected.View(), ReadPicture(nightPath).View());
        return output.pixels.empty() ? -1
                                     : CountDifferences(SunFor(utc), output, expected, 0x00FFFFFF);
    }

    ScratchFolder folder;
    SettingsStore settings;
    std::wstring dayPath = folder.File(L"day.img");
    std::wstring nightPath = folder.File(L"night.img");
    std::wstring outputPath = folder.File(L"out.bmp");
};

TEST_F(TerminatorRendererTest, SavesThePerPixelBlendAsBmpOverAnEarlierFile) {
    constexpr Gdiplus::PixelFormat k24 = PixelFormat24bppRGB;
    const struct {
        int dayWidth, dayHeight;
        Gdiplus::PixelFormat dayFormat;
        int nightWidth, nightHeight;
        Gdiplus::PixelFormat nightFormat;
        SYSTEMTIME utc;
    } cases[] = {
        {144, 72, k24, 144, 72, k24, MakeUtc(2003, 11, 17, 1, 24, 17)},
        // Outside a smaller night image the last night colour read repeats.
        {120, 60, k24, 50, 20, k24, MakeUtc(2022, 12, 20, 8, 0, 0)},
        {120, 60, k24, 50, 20, k24, MakeUtc(2022, 6, 20, 20, 0, 0)},
        // Only the top-left part of a larger one is used.
        {100, 50, k24, 130, 77, k24, MakeUtc(2030, 2, 14, 14, 0, 0)},
        // A clock outside the valid years renders for Julian date 0.
        {96, 48, k24, 96, 48, k24, MakeUtc(2150, 7, 1, 12, 0, 0)},
        {96, 48, k24, 96, 48, k24, MakeUtc(1899, 7, 1, 18, 0, 0)},
        // The output takes the day image's format.
        {64, 32, PixelFormat32bppARGB, 64, 32, k24, MakeUtc(2025, 1, 1, 0, 0, 0)},
        {64, 32, PixelFormat32bppRGB, 64, 32, k24, MakeUtc(2025, 1, 1, 0, 0, 0)},
        // The night image's own alpha plays no part; it is only read, so a palette is fine.
        {90, 45, k24, 90, 45, PixelFormat32bppARGB, MakeUtc(2012, 3, 3, 3, 3, 3)},
        {32, 16, k24, 32, 16, PixelFormat8bppIndexed, MakeUtc(2020, 5, 5, 5, 5, 5)}};
    unsigned seed = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.dayWidth << "x" << c.dayHeight << " night "
                                        << c.nightWidth << "x" << c.nightHeight);
        const auto mimeType = [](Gdiplus::PixelFormat format) {
            return Gdiplus::GetPixelFormatSize(format) == 32 ? L"image/png" : L"image/bmp";
        };
        WritePicture(dayPath, c.dayWidth, c.dayHeight, c.dayFormat, mimeType(c.dayFormat),
                     Noise(++seed));
        WritePicture(nightPath, c.nightWidth, c.nightHeight, c.nightFormat, mimeType(c.nightFormat),
                     Noise(++seed, true));
        WriteFileBytes(outputPath, kEarlier);
        RenderTerminatorImageAt(outputPath, settings, c.utc);
        EXPECT_EQ(DifferencesFromBlend(c.utc, ReadPicture(outputPath)), 0);
        EXPECT_EQ(ReadFileBytes(outputPath).substr(0, 2), "BM");
        EXPECT_EQ(folder.Entries(),
                  (std::vector<std::wstring>{L"day.img", L"night.img", L"out.bmp"}));
    }
}

// Each run must end without a file at the output path, leave an earlier file as it was, leave
// no temporary file and not even start (the progress stays).
TEST_F(TerminatorRendererTest, UnusablePicturesSaveNothing) {
    // Wine's GDI+ keeps a file open after failing to decode it, so every case has new names.
    int files = 0;
    const auto pictureBytes = [&](Gdiplus::PixelFormat format, const wchar_t* mimeType,
                                  int width = 32, int height = 16) {
        const std::wstring path = folder.File(L"made" + std::to_wstring(++files));
        WritePicture(path, width, height, format, mimeType, Noise(7));
        Gdiplus::PixelFormat loaded = 0;
        Gdiplus::DllExports::GdipGetImagePixelFormat(LoadBitmapFromFile(path).get(), &loaded);
        EXPECT_EQ(loaded, format) << "Wine changed the format of the picture under test";
        std::string bytes = ReadFileBytes(path);
        EXPECT_TRUE(DeleteFileW(path.c_str()));
        return bytes;
    };
    const std::optional<std::string> missing;
    const std::string good = pictureBytes(PixelFormat24bppRGB, L"image/bmp");
    const std::string bmp = BmpBytes(64, 32, 64 * 32 * 3);
    const std::string png = pictureBytes(PixelFormat24bppRGB, L"image/png", 64, 32);
    // Missing, not pictures, of no size, cut inside the headers or short of the pixels, with
    // more pixels than memory can hold, and (day only) palette and 16-bit formats, which can't
    // hold the blend.
    std::vector<std::optional<std::string>> days = {missing,
                                                    "plain text, not a picture",
                                                    "",
                                                    BmpBytes(0, 0, 64),
                                                    BmpBytes(16, 0, 64),
                                                    BmpBytes(0, 16, 64),
                                                    bmp.substr(0, 10),
                                                    bmp.substr(0, 30),
                                                    bmp.substr(0, 54 + 100),
                                                    png.substr(0, 20),
                                                    png.substr(0, 40),
                                                    png.substr(0, 60),
                                                    BmpBytes(100000, 100000, 4096)};
    for (const auto& [format, mimeType] : {std::pair{PixelFormat8bppIndexed, L"image/bmp"},
                                           {PixelFormat4bppIndexed, L"image/bmp"},
                                           {PixelFormat1bppIndexed, L"image/bmp"},
                                           {PixelFormat8bppIndexed, L"image/gif"},
                                           {PixelFormat16bppRGB555, L"image/bmp"}}) {
        days.push_back(pictureBytes(format, mimeType));
    }
    const std::optional<std::string> nights[] = {
        missing, std::string(4096, '\x5A'), BmpBytes(0, 0, 0), BmpBytes(100000, -100000, 4096)};
    for (std::size_t i = 0; i < std::size(days) + std::size(nights); ++i) {
        SCOPED_TRACE(testing::Message() << "case " << i);
        const bool badDay = i < std::size(days);
        const std::optional<std::string>& day = badDay ? days[i] : good;
        const std::optional<std::string>& night = badDay ? good : nights[i - std::size(days)];
        dayPath = folder.File(L"day" + std::to_wstring(i));
        nightPath = folder.File(L"night" + std::to_wstring(i));
        if (day) {
            WriteFileBytes(dayPath, *day);
        }
        if (night) {
            WriteFileBytes(nightPath, *night);
        }
        settings.SetSrcImgPath(dayPath);
        settings.SetSrc2ImgPath(nightPath);
        settings.SetProgress(42);
        const std::vector<std::wstring> before = folder.Entries();
        RenderTerminatorImageAt(outputPath, settings, MakeUtc(2020, 5, 5, 5, 5, 5));
        EXPECT_FALSE(FileExists(outputPath));
        WriteFileBytes(outputPath, kEarlier);
        RenderTerminatorImageAt(outputPath, settings, MakeUtc(2020, 5, 5, 5, 5, 5));
        EXPECT_EQ(ReadFileBytes(outputPath), kEarlier);
        ASSERT_TRUE(DeleteFileW(outputPath.c_str()));
        EXPECT_EQ(folder.Entries(), before);
        EXPECT_EQ(settings.GetProgress(), 42);
    }
}

// A flag of 1 before the start stops at the first column; any other flag but 0 runs every
// column and still saves nothing.
TEST_F(TerminatorRendererTest, CancelledRunsSaveNothing) {
    for (const auto& [cancel, width, progress] : {std::tuple{1, 40, 0}, {2, 6, 83}}) {
        WritePicture(dayPath, width, 20, PixelFormat24bppRGB, L"image/bmp", Noise(15));
        WritePicture(nightPath, width, 20, PixelFormat24bppRGB, L"image/bmp", Noise(16));
        WriteFileBytes(outputPath, kEarlier);
        settings.SetProgress(57);
        settings.SetCancel(cancel);
        RenderTerminatorImageAt(outputPath, settings, MakeUtc(2010, 10, 10, 10, 10, 10));
        EXPECT_EQ(settings.GetProgress(), progress) << cancel;
        EXPECT_EQ(ReadFileBytes(outputPath), kEarlier) << cancel;
        EXPECT_EQ(folder.Entries().size(), 3u) << cancel; // no temporary file left
    }
}

TEST_F(TerminatorRendererTest, ThePublicOperationUsesTheCurrentUtcTime) {
    WritePicture(dayPath, 48, 24, PixelFormat24bppRGB, L"image/bmp", Noise(19));
    WritePicture(nightPath, 48, 24, PixelFormat24bppRGB, L"image/bmp", Noise(20));
    SYSTEMTIME before{};
    GetSystemTime(&before);
    RenderTerminatorImage(outputPath, settings);
    SYSTEMTIME after{};
    GetSystemTime(&after);
    const ArgbBuffer output = ReadPicture(outputPath);
    // A second may tick between: the picture matches the blend at one of the two moments.
    const int atBefore = DifferencesFromBlend(before, output);
    const int atAfter = DifferencesFromBlend(after, output);
    EXPECT_TRUE(atBefore == 0 || atAfter == 0) << atBefore << " " << atAfter;
}

// Threads other than the main one may start with the x87 unit rounding to 53 bits. The renderer
// widens that for its own run and gives the caller's setting back.
TEST_F(TerminatorRendererTest, RendersTheSameOnAThreadWithShortPrecisionAndRestoresIt) {
    WritePicture(dayPath, 64, 32, PixelFormat24bppRGB, L"image/bmp", Noise(21));
    WritePicture(nightPath, 64, 32, PixelFormat24bppRGB, L"image/bmp", Noise(22));
    const SYSTEMTIME utc = MakeUtc(2016, 4, 4, 4, 4, 4);
    RenderTerminatorImageAt(outputPath, settings, utc);
    const ArgbBuffer onMain = ReadPicture(outputPath);
    ASSERT_EQ(onMain.width, 64u);
    ASSERT_TRUE(DeleteFileW(outputPath.c_str()));

    unsigned short control = 0x027F; // 53-bit precision
    std::thread([&] {
        __asm__ volatile("fldcw %0" : : "m"(control));
        RenderTerminatorImageAt(outputPath, settings, utc);
        __asm__ volatile("fnstcw %0" : "=m"(control));
    }).join();
    EXPECT_EQ(control, 0x027F);
    EXPECT_EQ(ReadPicture(outputPath).pixels, onMain.pixels);
}

} // namespace
