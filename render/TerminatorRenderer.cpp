#include "render/TerminatorRenderer.h"

#include <gdiplus.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "render/EncoderClsid.h"
#include "render/GdiplusBitmapFile.h"
#include "render/GdiplusOwners.h"
#include "render/SaveImageFile.h"
#include "render/core/TerminatorImage.h"
#include "render/core/TerminatorKernel.h"
#include "render/core/TerminatorSettingsGate.h"
#include "settings/SettingsStore.h"
#include "solar/ExtendedPrecisionScope.h"
#include "solar/SunInstant.h"

// The night image is painted over the day image sample by sample. Doing that through GDI+ one
// pixel at a time (read, recolour a pen, stroke) takes minutes on a large map, so both images
// are read into memory once, blended there, and written into the output bitmap in one go.

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

namespace {

// Day image formats whose pixels survive a round trip through 32-bit ARGB. Palette formats
// can't take arbitrary colours back, and 16-bit ones would lose the blend to their few levels.
bool IsBlendableFormat(PixelFormat format) {
    switch (format) {
    case PixelFormat24bppRGB:
    case PixelFormat32bppRGB:
    case PixelFormat32bppARGB:
    case PixelFormat32bppPARGB:
    case PixelFormat48bppRGB:
    case PixelFormat64bppARGB:
    case PixelFormat64bppPARGB:
        return true;
    default:
        return false;
    }
}

// Moves the top-left width x height pixels of bitmap to or from an ARGB buffer of exactly that
// size (GDI+ converts to and from the bitmap's own format).
bool TransferArgb(GpBitmap* bitmap, std::uint32_t width, std::uint32_t height,
                  std::uint32_t* pixels, ImageLockMode mode) {
    Rect area(0, 0, static_cast<INT>(width), static_cast<INT>(height));
    BitmapData data{};
    data.Width = width;
    data.Height = height;
    data.Stride = static_cast<INT>(width * 4);
    data.PixelFormat = PixelFormat32bppARGB;
    data.Scan0 = pixels;
    const UINT flags = static_cast<UINT>(mode) | ImageLockModeUserInputBuf;
    if (GdipBitmapLockBits(bitmap, &area, flags, PixelFormat32bppARGB, &data) != Ok) {
        return false;
    }
    return GdipBitmapUnlockBits(bitmap, &data) == Ok;
}

struct ImageSize {
    UINT width = 0;
    UINT height = 0;
};

ImageSize SizeOf(GpImage* image) {
    ImageSize size;
    if (GdipGetImageWidth(image, &size.width) != Ok ||
        GdipGetImageHeight(image, &size.height) != Ok) {
        return {};
    }
    return size;
}

// Reads the top-left width x height pixels of an image into an owned buffer.
bool ReadArgb(GpBitmap* bitmap, std::uint32_t width, std::uint32_t height,
              std::vector<std::uint32_t>& pixels) {
    if (width == 0 || height == 0) {
        pixels.clear();
        return true;
    }
    const std::optional<std::size_t> count = ArgbPixelCount(width, height);
    if (!count) {
        return false;
    }
    pixels.resize(*count);
    return TransferArgb(bitmap, width, height, pixels.data(), ImageLockModeRead);
}

void Render(const std::wstring& outputPath, SettingsStore& settings, const SYSTEMTIME& utc) {
    const SunInstant sun =
        SunInstantAt(utc.wYear, utc.wMonth, utc.wDay, utc.wHour, utc.wMinute, utc.wSecond);
    std::wstring dayPath;
    std::wstring nightPath;
    settings.GetSrcImgPath(dayPath);
    settings.GetSrc2ImgPath(nightPath);

    UniqueGdipBitmap dayImage = LoadBitmapFromFile(dayPath);
    UniqueGdipBitmap nightImage = LoadBitmapFromFile(nightPath);
    if (!dayImage || !nightImage) {
        return;
    }
    const ImageSize daySize = SizeOf(dayImage.get());
    PixelFormat format = 0;
    if (GdipGetImagePixelFormat(dayImage.get(), &format) != Ok || !IsBlendableFormat(format) ||
        !ArgbPixelCount(daySize.width, daySize.height)) {
        return;
    }
    const ImageSize nightSize = SizeOf(nightImage.get());

    // Images are let go as soon as their pixels are in memory, to keep the peak low on
    // 32-bit Windows.
    std::vector<std::uint32_t> pixels;
    if (!ReadArgb(dayImage.get(), daySize.width, daySize.height, pixels)) {
        return;
    }
    dayImage.reset();
    // Only the night pixels that lie over the day image are ever used.
    const std::uint32_t nightWidth = std::min(nightSize.width, daySize.width);
    const std::uint32_t nightHeight = std::min(nightSize.height, daySize.height);
    std::vector<std::uint32_t> nightPixels;
    if (!ReadArgb(nightImage.get(), nightWidth, nightHeight, nightPixels)) {
        return;
    }
    nightImage.reset();

    const ArgbImage day{pixels.data(), daySize.width, daySize.height};
    const ConstArgbImage night{nightPixels.data(), nightWidth, nightHeight};
    SettingsColumnGate<SettingsStore> gate(settings, daySize.width);
    const bool finished = BlendTerminator(sun, day, night, gate);
    std::vector<std::uint32_t>().swap(nightPixels); // room for the output bitmap

    // An unfinished blend is never saved, even if the flag has been cleared again meanwhile.
    const bool cancelled = settings.GetCancel() != 0;
    CLSID bmpEncoder{};
    if (!finished || cancelled || GetEncoderClsid(L"image/bmp", bmpEncoder) < 0) {
        return;
    }
    UniqueGdipBitmap output;
    if (GdipCreateBitmapFromScan0(static_cast<INT>(daySize.width), static_cast<INT>(daySize.height),
                                  0, format, nullptr, output.put()) != Ok ||
        !output) {
        return;
    }
    if (!TransferArgb(output.get(), daySize.width, daySize.height, pixels.data(),
                      ImageLockModeWrite)) {
        return;
    }
    SaveImageReplacing(output.get(), outputPath, bmpEncoder);
}

} // namespace

void RenderTerminatorImage(std::wstring outputPath, SettingsStore& settings) {
    SYSTEMTIME utc{};
    GetSystemTime(&utc);
    RenderTerminatorImageAt(std::move(outputPath), settings, utc);
}

void RenderTerminatorImageAt(std::wstring outputPath, SettingsStore& settings,
                             const SYSTEMTIME& utc) {
    // The update worker may run with the x87 unit rounding to 53 bits.
    const solar::ExtendedPrecisionScope precision;
    // Runs on the update worker: a failed allocation ends the run like any other failure.
    try {
        Render(outputPath, settings, utc);
    } catch (...) {
    }
}
