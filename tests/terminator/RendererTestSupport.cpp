#include "RendererTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "render/EncoderClsid.h"
#include "render/GdiplusBitmapFile.h"
#include "render/core/TerminatorAlpha.h"
#include "render/core/TerminatorGeometry.h"

using namespace Gdiplus::DllExports;

SYSTEMTIME MakeUtc(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second) {
    SYSTEMTIME utc{};
    utc.wYear = year;
    utc.wMonth = month;
    utc.wDay = day;
    utc.wHour = hour;
    utc.wMinute = minute;
    utc.wSecond = second;
    utc.wMilliseconds = 999;
    return utc;
}

SunInstant SunFor(const SYSTEMTIME& utc) {
    return SunInstantAt(utc.wYear, utc.wMonth, utc.wDay, utc.wHour, utc.wMinute, utc.wSecond);
}

void WritePicture(const std::wstring& path, int width, int height, Gdiplus::PixelFormat format,
                  const wchar_t* mimeType,
                  const std::function<Gdiplus::ARGB(int x, int y)>& colourAt) {
    const UniqueGdipBitmap bitmap = MakeBitmap(width, height, format, colourAt);
    ASSERT_TRUE(bitmap);
    CLSID encoder{};
    ASSERT_GE(GetEncoderClsid(mimeType, encoder), 0);
    ASSERT_EQ(GdipSaveImageToFile(bitmap.get(), path.c_str(), &encoder, nullptr), Gdiplus::Ok);
}

ArgbBuffer ReadPicture(const std::wstring& path) {
    const UniqueGdipBitmap bitmap = LoadBitmapFromFile(path);
    if (!bitmap) {
        return {};
    }
    ArgbBuffer picture(ImageWidth(bitmap.get()), ImageHeight(bitmap.get()));
    Gdiplus::Rect all(0, 0, static_cast<INT>(picture.width), static_cast<INT>(picture.height));
    Gdiplus::BitmapData data{};
    data.Width = picture.width;
    data.Height = picture.height;
    data.Stride = static_cast<INT>(picture.width * 4);
    data.PixelFormat = PixelFormat32bppARGB;
    data.Scan0 = picture.pixels.data();
    EXPECT_EQ(GdipBitmapLockBits(bitmap.get(), &all,
                                 Gdiplus::ImageLockModeRead | Gdiplus::ImageLockModeUserInputBuf,
                                 PixelFormat32bppARGB, &data),
              Gdiplus::Ok);
    EXPECT_EQ(GdipBitmapUnlockBits(bitmap.get(), &data), Gdiplus::Ok);
    return picture;
}

std::string BmpBytes(std::int32_t width, std::int32_t height, std::uint32_t dataBytes) {
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    file.bfType = 0x4D42; // "BM"
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + dataBytes;
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    std::string bytes(file.bfOffBits + dataBytes, '\0');
    std::memcpy(bytes.data(), &file, sizeof file);
    std::memcpy(bytes.data() + sizeof file, &info, sizeof info);
    return bytes;
}

ArgbBuffer ExpectedBlend(const SYSTEMTIME& utc, const std::wstring& dayPath,
                         const std::wstring& nightPath) {
    ArgbBuffer day = ReadPicture(dayPath);
    const ArgbBuffer night = ReadPicture(nightPath);
    BlendTerminatorReference(SunFor(utc), day.View(), night.View());
    return day;
}

int CountColourDifferences(const SYSTEMTIME& utc, const ArgbBuffer& actual,
                           const ArgbBuffer& expected) {
    EXPECT_EQ(actual.width, expected.width);
    EXPECT_EQ(actual.height, expected.height);
    if (actual.width != expected.width || actual.height != expected.height) {
        return -1;
    }
    const SunInstant sun = SunFor(utc);
    const double step = LatitudeStep(actual.height);
    int differences = 0;
    for (std::uint32_t row = 0; row < actual.height; ++row) {
        for (std::uint32_t column = 0; column < actual.width; ++column) {
            if (((actual.At(column, row) ^ expected.At(column, row)) & 0x00FFFFFFu) == 0) {
                continue;
            }
            const double altitude =
                AltitudeAt(sun, ColumnLongitude(column, actual.width), RowLatitude(row, step));
            const double steps = -altitude * 437.16783816218066;
            const bool onEdge = std::fabs(altitude) <= 1e-9 ||
                                std::fabs(altitude - kTwilightEdgeDegrees) <= 1e-9 ||
                                std::fabs(steps - std::round(steps)) <= 1e-9 * 437.2;
            if (!onEdge) {
                ++differences;
            }
        }
    }
    return differences;
}
