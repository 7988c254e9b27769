#include <gtest/gtest.h>

#include "render/EncoderClsid.h"
#include "tests/imaging/ImagingTestSupport.h"

namespace {

// GDI+'s built-in BMP and PNG encoders.
constexpr CLSID kBmpEncoder = {
    0x557cf400, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
constexpr CLSID kPngEncoder = {
    0x557cf406, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
// Stands for "not touched".
constexpr CLSID kUntouched = {
    0x12345678, 0x9abc, 0xdef0, {0x01, 0x23, 0x45, 0x67, 0x89, 0xab, 0xcd, 0xef}};

TEST(GetEncoderClsid, FindsEachEncoderByItsMimeType) {
    CLSID bmp = kUntouched;
    const int bmpIndex = GetEncoderClsid(L"image/bmp", bmp);
    EXPECT_GE(bmpIndex, 0);
    EXPECT_TRUE(IsEqualCLSID(bmp, kBmpEncoder));

    CLSID png = kUntouched;
    const int pngIndex = GetEncoderClsid(L"image/png", png);
    EXPECT_GE(pngIndex, 0);
    EXPECT_NE(pngIndex, bmpIndex);
    EXPECT_TRUE(IsEqualCLSID(png, kPngEncoder));
}

TEST(GetEncoderClsid, FoundEncoderWritesBmpFiles) {
    ScratchFolder folder;
    CLSID bmp{};
    ASSERT_GE(GetEncoderClsid(L"image/bmp", bmp), 0);
    UniqueGdipBitmap picture = MakeBitmap(3, 2, PixelFormat24bppRGB, [](int, int) { return 0; });
    const std::wstring path = folder.File(L"written.bmp");
    ASSERT_EQ(Gdiplus::DllExports::GdipSaveImageToFile(picture.get(), path.c_str(), &bmp, nullptr),
              Gdiplus::Ok);
    EXPECT_EQ(ReadFileBytes(path).substr(0, 2), "BM");
}

TEST(GetEncoderClsid, MimeTypeMustMatchExactlyAndWhole) {
    for (const wchar_t* mimeType :
         {L"IMAGE/BMP", L"Image/Bmp", L"image/bm", L"image/bmpx", L"image/bmp ", L"", L"bmp"}) {
        CLSID clsid = kUntouched;
        EXPECT_EQ(GetEncoderClsid(mimeType, clsid), -1) << mimeType;
        EXPECT_TRUE(IsEqualCLSID(clsid, kUntouched)) << mimeType;
    }
}

TEST(GetEncoderClsid, NullMimeTypeFindsNothing) {
    CLSID clsid = kUntouched;
    EXPECT_EQ(GetEncoderClsid(nullptr, clsid), -1);
    EXPECT_TRUE(IsEqualCLSID(clsid, kUntouched));
}

} // namespace
