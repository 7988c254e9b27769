#include "render/TerminatorRenderer.h"

#include <gdiplus.h>

#include "render/DecodedPicture.h"
#include "render/EncoderClsid.h"
#include "render/FirstTouch.h"
#include "render/SaveImageFile.h"
#include "render/SideTask.h"
#include "render/SplitResample.h"
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
// pictures held. A night image of another size is copied out whole and resampled to the day
// image's size, and released before the day image is copied out.

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

// The night image at the day image's size, resampled as the wallpaper is, its left and right
// edges joined as on the globe. The night decoder is released once its pixels are copied out.
// The fitted night is as large as the day image: status names the day image while it is made.
std::optional<PictureBuffer> FitNight(DecodedPicture& night, std::uint32_t width,
                                      std::uint32_t height, const std::function<bool()>& stopped,
                                      MapStatus& status, const std::wstring& dayPath) {
    std::optional<PictureBuffer> fitted;
    {
        const PictureBuffer whole(night.Width(), night.Height(), night.ColourFormat(),
                                  PictureBuffer::Start::toBeOverwritten);
        if (!night.CopyAll(whole.Pixels())) {
            return {};
        }
        night = {};
        status.file = dayPath;
        fitted.emplace(width, height, whole.Format(), PictureBuffer::Start::toBeOverwritten);
        const PixelView to = fitted->Pixels();
        const DrawPiece all{
            {0, 0, static_cast<int>(whole.Pixels().width), static_cast<int>(whole.Pixels().height)},
            {0, 0, static_cast<int>(to.width), static_cast<int>(to.height)}};
        if (!ResamplePieceOnTwoThreads(whole.Pixels(), all, to, stopped)) {
            return {};
        }
    }
    return fitted;
}

// status names the map being read or held while that can fail, so that a run that ends early
// leaves it saying which map was at fault.
std::optional<PictureBuffer> Render(SettingsStore& settings, const SYSTEMTIME& utc,
                                    MapStatus& status) {
    const SunInstant sun =
        SunInstantAt(utc.wYear, utc.wMonth, utc.wDay, utc.wHour, utc.wMinute, utc.wSecond);
    std::wstring dayPath;
    std::wstring nightPath;
    settings.GetSrcImgPath(dayPath);
    settings.GetSrc2ImgPath(nightPath);
    const auto stopped = [&settings] { return settings.GetCancel() == 1; };

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
    if (!day || !night) {
        status = day ? MapStatus{night.Problem(), nightPath} : MapStatus{day.Problem(), dayPath};
        return {};
    }
    if (stopped()) {
        return {};
    }
    status = {MapProblem::tooLarge, nightPath};
    // A night image of the day image's size is read only where the blend needs it; one of
    // another size is fitted to the day image first.
    std::optional<CompactNight> nightAreas;
    std::optional<PictureBuffer> fittedNight;
    if (night.Width() == day.Width() && night.Height() == day.Height()) {
        nightAreas.emplace(
            NightAreasRead(sun, day.Width(), day.Height(), day.Width(), day.Height()),
            night.Width(), night.Height(), night.BytesPerPixel());
        if (!CopyNightAreas(night, *nightAreas)) {
            status.problem = MapProblem::unreadable;
            return {};
        }
        night = {};
    } else {
        fittedNight = FitNight(night, day.Width(), day.Height(), stopped, status, dayPath);
        if (!fittedNight) {
            status.problem = MapProblem::unreadable;
            return {};
        }
    }
    if (stopped()) {
        return {};
    }
    status = {MapProblem::tooLarge, dayPath};
    PictureBuffer picture(day.Width(), day.Height(), day.ColourFormat(),
                          PictureBuffer::Start::toBeOverwritten);
    if (picture.Bitmap() == nullptr) {
        return {};
    }
    if (!day.CopyAll(picture.Pixels())) {
        status.problem = MapProblem::unreadable;
        return {};
    }
    day = {};
    status = {};
    if (stopped()) {
        return {};
    }
    SettingsColumnGate<SettingsStore> gate(settings, picture.Pixels().width);
    const bool blended = fittedNight
                             ? BlendTerminator(sun, picture.Pixels(), fittedNight->Pixels(), gate)
                             : BlendTerminator(sun, picture.Pixels(), *nightAreas, gate);
    // An unfinished blend is never used, even if the flag has been cleared again meanwhile.
    if (!blended || settings.GetCancel() != 0) {
        return {};
    }
    return picture;
}

} // namespace

std::optional<PictureBuffer> RenderTerminatorPicture(SettingsStore& settings, const SYSTEMTIME& utc,
                                                     MapStatus& status) noexcept {
    const solar::ExtendedPrecisionScope precision;
    // Runs on the update worker: a failed allocation ends the run like any other failure.
    try {
        return Render(settings, utc, status);
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
    MapStatus status;
    if (const auto picture = RenderTerminatorPicture(settings, utc, status)) {
        SaveTerminatorPicture(picture->Bitmap(), outputPath);
    }
}
