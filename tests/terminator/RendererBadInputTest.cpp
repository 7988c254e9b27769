// Pictures the renderer can't use: each run must end without a file at the output path, leave
// an earlier file there as it was, and leave no temporary file behind.
//
// Every case writes its pictures under new names: Wine's GDI+ keeps a file open after failing to
// decode it, so a rejected file can't be overwritten within the same process.
#include <gtest/gtest.h>

#include "RendererTestSupport.h"
#include "render/TerminatorRenderer.h"
#include "render/GdiplusBitmapFile.h"
#include "settings/SettingsStore.h"

namespace {

constexpr char kEarlier[] = "an earlier picture";

Gdiplus::ARGB Stripes(int x, int y) {
    return (x + y) % 2 ? 0xFF3080C0u : 0xFFE0A020u;
}

class TerminatorBadInputTest : public testing::Test {
protected:
    TerminatorBadInputTest() {
        settings.SetSrcImgPath(dayPath);
        settings.SetSrc2ImgPath(nightPath);
    }

    // A fresh name in the scratch folder for the next picture of a case.
    std::wstring NextPath(const wchar_t* stem) {
        return folder.File(stem + std::to_wstring(++pictures) + L".img");
    }
    void UseDay(const std::wstring& path) {
        dayPath = path;
        settings.SetSrcImgPath(path);
    }
    void UseNight(const std::wstring& path) {
        nightPath = path;
        settings.SetSrc2ImgPath(path);
    }
    void UseGoodDay() {
        UseDay(NextPath(L"day"));
        WriteGood(dayPath);
    }
    void UseGoodNight() {
        UseNight(NextPath(L"night"));
        WriteGood(nightPath);
    }
    void UseDayBytes(const std::string& bytes) {
        UseDay(NextPath(L"day"));
        WriteFileBytes(dayPath, bytes);
    }
    void UseNightBytes(const std::string& bytes) {
        UseNight(NextPath(L"night"));
        WriteFileBytes(nightPath, bytes);
    }
    static void WriteGood(const std::wstring& path) {
        WritePicture(path, 32, 16, PixelFormat24bppRGB, L"image/bmp", Stripes);
    }

    // Renders once without and once over an earlier file; neither may produce a picture.
    void ExpectNothingSaved() {
        const std::vector<std::wstring> before = folder.Entries();
        settings.SetProgress(42);
        RenderTerminatorImageAt(outputPath, settings, MakeUtc(2020, 5, 5, 5, 5, 5));
        EXPECT_FALSE(FileExists(outputPath));
        EXPECT_EQ(folder.Entries(), before);

        WriteFileBytes(outputPath, kEarlier);
        RenderTerminatorImageAt(outputPath, settings, MakeUtc(2020, 5, 5, 5, 5, 5));
        EXPECT_EQ(ReadFileBytes(outputPath), kEarlier);
        ASSERT_TRUE(DeleteFileW(outputPath.c_str()));
        EXPECT_EQ(folder.Entries(), before);
    }

    ScratchFolder folder;
    SettingsStore settings;
    int pictures = 0;
    std::wstring dayPath = folder.File(L"day.bmp");
    std::wstring nightPath = folder.File(L"night.bmp");
    std::wstring outputPath = folder.File(L"out.bmp");
};

} // namespace

TEST_F(TerminatorBadInputTest, MissingPictures) {
    ExpectNothingSaved();
    EXPECT_EQ(settings.GetProgress(), 42); // nothing was even started
    UseGoodDay();
    ExpectNothingSaved();
    EXPECT_EQ(settings.GetProgress(), 42);
    UseDay(folder.File(L"no such day.bmp"));
    UseGoodNight();
    ExpectNothingSaved();
    UseDay(L"");
    ExpectNothingSaved();
}

TEST_F(TerminatorBadInputTest, FilesThatAreNotPictures) {
    UseGoodNight();
    UseDayBytes("plain text, not a picture");
    ExpectNothingSaved();
    UseDayBytes("");
    ExpectNothingSaved();
    UseGoodDay();
    UseNightBytes(std::string(4096, '\x5A'));
    ExpectNothingSaved();
}

TEST_F(TerminatorBadInputTest, ZeroSizedPictures) {
    UseGoodNight();
    for (const auto& [width, height] : {std::pair{0, 0}, std::pair{16, 0}, std::pair{0, 16}}) {
        UseDayBytes(BmpBytes(width, height, 64));
        ExpectNothingSaved();
    }
    UseGoodDay();
    UseNightBytes(BmpBytes(0, 0, 0));
    ExpectNothingSaved();
}

TEST_F(TerminatorBadInputTest, TruncatedPictures) {
    UseGoodNight();
    const std::wstring pngPath = NextPath(L"png");
    WritePicture(pngPath, 64, 32, PixelFormat24bppRGB, L"image/png", Stripes);
    const std::string png = ReadFileBytes(pngPath);
    ASSERT_GT(png.size(), 60u);
    // BMPs cut inside their headers or short of their pixels, PNGs cut inside their header or
    // their data.
    const std::string bmp = BmpBytes(64, 32, 64 * 32 * 3);
    for (const std::string& cut : {bmp.substr(0, 10), bmp.substr(0, 30), bmp.substr(0, 54 + 100),
                                   png.substr(0, 20), png.substr(0, 40), png.substr(0, 60)}) {
        UseDayBytes(cut);
        ExpectNothingSaved();
    }
}

// A picture whose header promises more pixels than memory can hold.
TEST_F(TerminatorBadInputTest, PicturesTooLargeToHold) {
    UseGoodNight();
    UseDayBytes(BmpBytes(100000, 100000, 4096));
    ExpectNothingSaved();
    UseGoodDay();
    UseNightBytes(BmpBytes(100000, -100000, 4096));
    ExpectNothingSaved();
}

// Palette and 16-bit day pictures can't hold the blend. (Wine decodes 8-bit PNGs and 565
// BMPs from its own writers into deeper formats, so the files are chosen to stay as they are.)
TEST_F(TerminatorBadInputTest, DayPicturesInPaletteOrSixteenBitFormats) {
    UseGoodNight();
    const std::pair<Gdiplus::PixelFormat, const wchar_t*> cases[] = {
        {PixelFormat8bppIndexed, L"image/bmp"},
        {PixelFormat4bppIndexed, L"image/bmp"},
        {PixelFormat1bppIndexed, L"image/bmp"},
        {PixelFormat8bppIndexed, L"image/gif"},
        {PixelFormat16bppRGB555, L"image/bmp"}};
    for (const auto& [format, mimeType] : cases) {
        UseDay(NextPath(L"day"));
        WritePicture(dayPath, 32, 16, format, mimeType, Stripes);
        const UniqueGdipBitmap loaded = LoadBitmapFromFile(dayPath);
        Gdiplus::PixelFormat loadedFormat = 0;
        ASSERT_EQ(Gdiplus::DllExports::GdipGetImagePixelFormat(loaded.get(), &loadedFormat),
                  Gdiplus::Ok);
        ASSERT_EQ(loadedFormat, format);
        ExpectNothingSaved();
    }
}

// The night picture is only read, so its format does not matter.
TEST_F(TerminatorBadInputTest, APaletteNightPictureIsFine) {
    UseGoodDay();
    UseNight(NextPath(L"night"));
    WritePicture(nightPath, 32, 16, PixelFormat8bppIndexed, L"image/bmp", Stripes);
    RenderTerminatorImageAt(outputPath, settings, MakeUtc(2020, 5, 5, 5, 5, 5));
    EXPECT_EQ(ReadPicture(outputPath).width, 32u);
}

TEST_F(TerminatorBadInputTest, AnOutputPathThatCantBeWritten) {
    UseGoodDay();
    UseGoodNight();
    const std::vector<std::wstring> before = folder.Entries();
    // A folder in the way, and a folder that does not exist.
    const std::wstring blocked = folder.File(L"blocked");
    ASSERT_TRUE(CreateDirectoryW(blocked.c_str(), nullptr));
    RenderTerminatorImageAt(blocked, settings, MakeUtc(2020, 5, 5, 5, 5, 5));
    EXPECT_FALSE(FileExists(blocked));
    ASSERT_TRUE(RemoveDirectoryW(blocked.c_str()));
    RenderTerminatorImageAt(folder.File(L"missing\\out.bmp"), settings,
                            MakeUtc(2020, 5, 5, 5, 5, 5));
    EXPECT_EQ(folder.Entries(), before);
}
