#include <gtest/gtest.h>

#include "render/GdiplusCanvas.h"
#include "tests/imaging/ImagingTestSupport.h"

namespace {

Gdiplus::PixelFormat FormatOf(Gdiplus::GpImage* image) {
    Gdiplus::PixelFormat format = PixelFormatUndefined;
    EXPECT_EQ(Gdiplus::DllExports::GdipGetImagePixelFormat(image, &format), Gdiplus::Ok);
    return format;
}

TEST(CreateCanvas, KeepsTheRequestedSizeAndFormat) {
    for (const Gdiplus::PixelFormat format :
         {PixelFormat24bppRGB, PixelFormat32bppARGB, PixelFormat32bppRGB}) {
        const GdiplusCanvas canvas = CreateCanvas(31, 17, format);
        ASSERT_TRUE(canvas) << format;
        EXPECT_EQ(ImageWidth(canvas.bitmap.get()), 31u);
        EXPECT_EQ(ImageHeight(canvas.bitmap.get()), 17u);
        EXPECT_EQ(FormatOf(canvas.bitmap.get()), format);
    }
}

TEST(CreateCanvas, PaletteFormatsDrawIn24BitRgb) {
    for (const Gdiplus::PixelFormat format :
         {PixelFormat1bppIndexed, PixelFormat4bppIndexed, PixelFormat8bppIndexed}) {
        const GdiplusCanvas canvas = CreateCanvas(8, 4, format);
        ASSERT_TRUE(canvas) << format;
        EXPECT_EQ(FormatOf(canvas.bitmap.get()), PixelFormat24bppRGB);
        // The context really draws on it.
        using namespace Gdiplus::DllExports;
        EXPECT_EQ(GdipGraphicsClear(canvas.graphics.get(), 0xFF336699), Gdiplus::Ok);
        GdipFlush(canvas.graphics.get(), Gdiplus::FlushIntentionSync);
        EXPECT_EQ(PixelAt(canvas.bitmap.get(), 7, 3), 0xFF336699u);
    }
}

TEST(CreateCanvas, NoCanvasWithoutSize) {
    EXPECT_FALSE(CreateCanvas(0, 10, PixelFormat24bppRGB));
    EXPECT_FALSE(CreateCanvas(10, 0, PixelFormat24bppRGB));
    EXPECT_FALSE(CreateCanvas(-5, 10, PixelFormat24bppRGB));
}

} // namespace
