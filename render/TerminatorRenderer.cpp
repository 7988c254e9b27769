#include "render/TerminatorRenderer.h"

#include <gdiplus.h>

#include <algorithm>

#include "render/EncoderClsid.h"
#include "render/GdiplusBitmapFile.h"
#include "render/LockedBitmap.h"
#include "render/SaveImageFile.h"
#include "render/SideTask.h"
#include "render/core/TerminatorKernel.h"
#include "render/core/TerminatorSettingsGate.h"
#include "settings/SettingsStore.h"
#include "solar/ExtendedPrecisionScope.h"
#include "solar/SunInstant.h"

// The night image is painted over the day image sample by sample. Doing that through GDI+ one
// pixel at a time (read, recolour a pen, stroke) takes minutes on a large map, so both images
// are locked in memory once and blended there, into the day bitmap itself.

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

namespace {

// Day image formats whose pixels survive the blend. Palette formats can't take arbitrary
// colours back, and 16-bit ones would lose the blend to their few levels.
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

UniqueGdipBitmap Render(SettingsStore& settings, const SYSTEMTIME& utc) {
    const SunInstant sun =
        SunInstantAt(utc.wYear, utc.wMonth, utc.wDay, utc.wHour, utc.wMinute, utc.wSecond);
    std::wstring dayPath;
    std::wstring nightPath;
    settings.GetSrcImgPath(dayPath);
    settings.GetSrc2ImgPath(nightPath);

    // The two decodes are most of the work and independent of each other.
    UniqueGdipBitmap nightImage;
    UniqueGdipBitmap dayImage;
    {
        SideTask decodeNight([&] { nightImage = LoadBitmapFromFile(nightPath); });
        dayImage = LoadBitmapFromFile(dayPath);
    }
    if (!dayImage || !nightImage) {
        return {};
    }
    PixelFormat format = 0;
    if (GdipGetImagePixelFormat(dayImage.get(), &format) != Ok || !IsBlendableFormat(format)) {
        return {};
    }
    const BitmapSize daySize = SizeOfBitmap(dayImage.get());
    const BitmapSize nightSize = SizeOfBitmap(nightImage.get());
    bool finished = false;
    {
        // The night is blended into the day bitmap's own memory where its layout allows, so
        // the day pixels exist once. Only the night pixels that lie over the day image are read.
        const LockedBitmap day(dayImage.get(),
                               static_cast<ImageLockMode>(ImageLockModeRead | ImageLockModeWrite),
                               {PixelFormat24bppRGB, PixelFormat32bppARGB});
        const LockedBitmap night(nightImage.get(), ImageLockModeRead,
                                 {PixelFormat24bppRGB, PixelFormat32bppRGB, PixelFormat32bppARGB},
                                 std::min(nightSize.width, daySize.width),
                                 std::min(nightSize.height, daySize.height));
        if (!day || !night) {
            return {};
        }
        SettingsColumnGate<SettingsStore> gate(settings, daySize.width);
        finished = BlendTerminator(sun, day.Pixels(), night.Pixels(), gate);
    }
    nightImage.reset();
    // An unfinished blend is never used, even if the flag has been cleared again meanwhile.
    if (!finished || settings.GetCancel() != 0) {
        return {};
    }
    return dayImage;
}

} // namespace

UniqueGdipBitmap RenderTerminatorPicture(SettingsStore& settings, const SYSTEMTIME& utc) noexcept {
    const solar::ExtendedPrecisionScope precision;
    // Runs on the update worker: a failed allocation ends the run like any other failure.
    try {
        return Render(settings, utc);
    } catch (...) {
        return {};
    }
}

bool SaveTerminatorPicture(Gdiplus::GpBitmap* picture, const std::wstring& outputPath) noexcept {
    CLSID bmpEncoder{};
    return picture != nullptr && GetEncoderClsid(L"image/bmp", bmpEncoder) >= 0 &&
           SaveImageReplacing(picture, outputPath, bmpEncoder);
}

void RenderTerminatorImageAt(std::wstring outputPath, SettingsStore& settings,
                             const SYSTEMTIME& utc) {
    if (const UniqueGdipBitmap picture = RenderTerminatorPicture(settings, utc)) {
        SaveTerminatorPicture(picture.get(), outputPath);
    }
}

void RenderTerminatorImage(std::wstring outputPath, SettingsStore& settings) {
    SYSTEMTIME utc{};
    GetSystemTime(&utc);
    RenderTerminatorImageAt(std::move(outputPath), settings, utc);
}
