#include "render/GdiplusCanvas.h"

namespace {

GdiplusCanvas TryCreate(int width, int height, Gdiplus::PixelFormat format) noexcept {
    using namespace Gdiplus::DllExports;
    GdiplusCanvas canvas;
    // Stride 0 and no buffer: GDI+ owns the pixels.
    if (GdipCreateBitmapFromScan0(width, height, 0, format, nullptr, canvas.bitmap.put()) !=
        Gdiplus::Ok) {
        return {};
    }
    if (GdipGetImageGraphicsContext(canvas.bitmap.get(), canvas.graphics.put()) != Gdiplus::Ok) {
        return {};
    }
    return canvas;
}

} // namespace

GdiplusCanvas CreateCanvas(int width, int height, Gdiplus::PixelFormat format) noexcept {
    if (width <= 0 || height <= 0) {
        return {};
    }
    if (!Gdiplus::IsIndexedPixelFormat(format)) {
        if (GdiplusCanvas canvas = TryCreate(width, height, format)) {
            return canvas;
        }
    }
    return TryCreate(width, height, PixelFormat24bppRGB);
}
