#include <gtest/gtest.h>

#include <tuple>

#include "render/EncoderClsid.h"
#include "render/GdiplusBitmapFile.h"
#include "render/GdiplusCanvas.h"
#include "render/SaveImageFile.h"
#include "tests/imaging/ImagingTestSupport.h"

namespace {

// GDI+'s built-in BMP and PNG encoders, and a value to see untouched that is no encoder.
constexpr CLSID kBmpEncoder = {
    0x557cf400, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
constexpr CLSID kPngEncoder = {
    0x557cf406, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
constexpr CLSID kUntouched = {
    0x12345678, 0x9abc, 0xdef0, {0x01, 0x23, 0x45, 0x67, 0x89, 0xab, 0xcd, 0xef}};

TEST(GetEncoderClsid, FindsEachEncoderByItsExactMimeType) {
    CLSID bmp = kUntouched;
    CLSID png = kUntouched;
    const int bmpIndex = GetEncoderClsid(L"image/bmp", bmp);
    EXPECT_GE(bmpIndex, 0);
    EXPECT_TRUE(IsEqualCLSID(bmp, kBmpEncoder));
    EXPECT_NE(GetEncoderClsid(L"image/png", png), bmpIndex);
    EXPECT_TRUE(IsEqualCLSID(png, kPngEncoder));
    for (const wchar_t* mimeType :
         {L"IMAGE/BMP", L"Image/Bmp", L"image/bm", L"image/bmpx", L"image/bmp ", L"", L"bmp",
          static_cast<const wchar_t*>(nullptr)}) {
        CLSID clsid = kUntouched;
        EXPECT_EQ(GetEncoderClsid(mimeType, clsid), -1) << mimeType;
        EXPECT_TRUE(IsEqualCLSID(clsid, kUntouched)) << mimeType;
    }
}

// GDI+ draws on no palette format: those canvases are made in 24-bit RGB instead.
TEST(CreateCanvas, KeepsTheSizeAndDrawsInTheFormatOrIn24BitRgb) {
    const std::pair<Gdiplus::PixelFormat, Gdiplus::PixelFormat> formats[] = {
        {PixelFormat24bppRGB, PixelFormat24bppRGB},
        {PixelFormat32bppARGB, PixelFormat32bppARGB},
        {PixelFormat32bppRGB, PixelFormat32bppRGB},
        {PixelFormat1bppIndexed, PixelFormat24bppRGB},
        {PixelFormat4bppIndexed, PixelFormat24bppRGB},
        {PixelFormat8bppIndexed, PixelFormat24bppRGB}};
    using namespace Gdiplus::DllExports;
    for (const auto& [requested, made] : formats) {
        const GdiplusCanvas canvas = CreateCanvas(31, 17, requested);
        ASSERT_TRUE(canvas) << requested;
        EXPECT_EQ(SizeOf(canvas.bitmap.get()), ImageSize(31, 17));
        Gdiplus::PixelFormat format = PixelFormatUndefined;
        EXPECT_EQ(GdipGetImagePixelFormat(canvas.bitmap.get(), &format), Gdiplus::Ok);
        EXPECT_EQ(format, made) << requested;
        EXPECT_EQ(GdipGraphicsClear(canvas.graphics.get(), 0xFF336699), Gdiplus::Ok);
        GdipFlush(canvas.graphics.get(), Gdiplus::FlushIntentionSync);
        EXPECT_EQ(PixelAt(canvas.bitmap.get(), 30, 16), 0xFF336699u) << requested;
    }
    for (const auto& [width, height] : {std::pair{0, 10}, {10, 0}, {-5, 10}}) {
        EXPECT_FALSE(CreateCanvas(width, height, PixelFormat24bppRGB)) << width << "x" << height;
    }
}

class SaveImageReplacingTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_GE(GetEncoderClsid(L"image/bmp", bmp), 0); }

    static UniqueGdipBitmap Picture(int width, Gdiplus::ARGB colour) {
        return MakeBitmap(width, 4, PixelFormat24bppRGB, [colour](int, int) { return colour; });
    }

    ScratchFolder folder;
    const std::wstring path = folder.File(L"wallpaper.bmp");
    CLSID bmp{};
};

// First a new file, then over the earlier one.
TEST_F(SaveImageReplacingTest, PutsTheNewFileInPlaceAndLeavesNoTemporary) {
    for (const auto& [width, colour] :
         {std::pair{6, Opaque(10, 20, 30)}, {7, Opaque(200, 100, 0)}}) {
        ASSERT_TRUE(SaveImageReplacing(Picture(width, colour).get(), path, bmp));
        EXPECT_EQ(folder.Entries(), std::vector<std::wstring>{L"wallpaper.bmp"});
        const UniqueGdipBitmap loaded = LoadBitmapFromFile(path);
        ASSERT_TRUE(loaded);
        EXPECT_EQ(SizeOf(loaded.get()), ImageSize(width, 4));
        EXPECT_EQ(PixelAt(loaded.get(), width - 1, 3), colour);
    }
}

TEST_F(SaveImageReplacingTest, FailuresLeaveTheEarlierFileAndNoTemporary) {
    WriteFileBytes(path, "an earlier update");
    // A folder can't be replaced by a file.
    const std::wstring occupied = folder.File(L"occupied.bmp");
    ASSERT_TRUE(CreateDirectoryW(occupied.c_str(), nullptr));
    const UniqueGdipBitmap picture = Picture(9, Opaque(9, 9, 9));
    const std::tuple<Gdiplus::GpImage*, std::wstring, CLSID> cases[] = {
        {picture.get(), path, kUntouched},
        {nullptr, path, bmp},
        {picture.get(), occupied, bmp},
        {picture.get(), folder.File(L"absent\\wallpaper.bmp"), bmp},
        {picture.get(), folder.File(std::wstring(MAX_PATH, L'x') + L".bmp"), bmp},
        {picture.get(), L"", bmp}};
    for (const auto& [image, target, encoder] : cases) {
        EXPECT_FALSE(SaveImageReplacing(image, target, encoder)) << target;
    }
    EXPECT_EQ(ReadFileBytes(path), "an earlier update");
    EXPECT_FALSE(FileExists(occupied));
    EXPECT_EQ(folder.Entries(), (std::vector<std::wstring>{L"occupied.bmp", L"wallpaper.bmp"}));
}

} // namespace
