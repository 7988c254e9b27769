#include "render/TerminatorRenderer.h"

#include <gdiplus.h>

#include "render/DecodedPicture.h"
#include "render/EncoderClsid.h"
#include "render/FirstTouch.h"
#include "render/SaveImageFile.h"
#include "render/SideTask.h"
#include "render/core/CompactNight.h"
#include "render/core/TerminatorKernel.h"
#include "render/core/TerminatorSettingsGate.h"
#include "settings/SettingsStore.h"
#include "solar/ExtendedPrecisionScope.h"
#include "solar/SunInstant.h"

// The night image is painted over the day image sample by sample. Doing that through GDI+ one
// pixel at a time (read, recolour a pen, stroke) takes minutes on a large map, so the pixels are
// blended in memory, into a copy of the day image the program owns.
//
// Memory: a decoder holds its whole decoded picture until it is released, and a large map is a
// hundred megabytes. Both pictures are decoded at once, for time; then only the night areas the
// blend reads (about half the night image) are copied out and the night decoder is released
// before the day image is copied out of its own. At no time are more than two and a half
// pictures held.

using namespace Gdiplus;

namespace {

// Fills the areas; the later half of their memory is first written on a second thread while the
// earlier half is filled.
bool CopyNightAreas(const DecodedPicture& night, CompactNight& areas) {
    const std::size_t count = areas.Areas().size();
    const auto copy = [&](std::size_t first, std::size_t end) {
        for (std::size_t index = first; index < end; ++index) {
            if (!night.Copy(areas.Areas()[index], areas.AreaPixels(index))) {
                return false;
            }
        }
        return true;
    };
    return WhileTouching(areas.BytesFrom(count / 2), [&] { return copy(0, count / 2); }) &&
           copy(count / 2, count);
}

std::optional<PictureBuffer> Render(SettingsStore& settings, const SYSTEMTIME& utc) {
    const SunInstant sun =
        SunInstantAt(utc.wYear, utc.wMonth, utc.wDay, utc.wHour, utc.wMinute, utc.wSecond);
    std::wstring dayPath;
    std::wstring nightPath;
    settings.GetSrcImgPath(dayPath);
    settings.GetSrc2ImgPath(nightPath);

    const MultithreadedApartment apartment;
    // The two decodes are most of the work and independent of each other.
    DecodedPicture night;
    DecodedPicture day;
    {
        SideTask decodeNight([&] {
            // The worker's own entry keeps the apartment, and the night's decoder in it, after
            // this thread has left it.
            const MultithreadedApartment sideApartment;
            night = DecodedPicture(nightPath);
        });
        day = DecodedPicture(dayPath);
    }
    if (!day || !night || day.ColourFormat() == PixelFormatUndefined) {
        return {};
    }
    CompactNight nightAreas(
        NightAreasRead(sun, day.Width(), day.Height(), night.Width(), night.Height()),
        night.Width(), night.Height(), night.BytesPerPixel());
    if (!CopyNightAreas(night, nightAreas)) {
        return {};
    }
    night = {};
    PictureBuffer picture(day.Width(), day.Height(), day.ColourFormat(),
                          PictureBuffer::Start::toBeOverwritten);
    if (picture.Bitmap() == nullptr || !day.CopyAll(picture.Pixels())) {
        return {};
    }
    day = {};
    SettingsColumnGate<SettingsStore> gate(settings, picture.Pixels().width);
    // An unfinished blend is never used, even if the flag has been cleared again meanwhile.
    if (!BlendTerminator(sun, picture.Pixels(), nightAreas, gate) || settings.GetCancel() != 0) {
        return {};
    }
    return picture;
}

} // namespace

std::optional<PictureBuffer> RenderTerminatorPicture(SettingsStore& settings,
                                                     const SYSTEMTIME& utc) noexcept {
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
    if (const auto picture = RenderTerminatorPicture(settings, utc)) {
        SaveTerminatorPicture(picture->Bitmap(), outputPath);
    }
}

void RenderTerminatorImage(std::wstring outputPath, SettingsStore& settings) {
    SYSTEMTIME utc{};
    GetSystemTime(&utc);
    RenderTerminatorImageAt(std::move(outputPath), settings, utc);
}
