#include "render/WallpaperComposer.h"

#include <cstdint>
#include <exception>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "render/DecodedPicture.h"
#include "render/DesktopMonitors.h"
#include "render/EncoderClsid.h"
#include "render/OutputFolder.h"
#include "render/PictureBuffer.h"
#include "render/SaveImageFile.h"
#include "render/SideTask.h"
#include "render/TerminatorRenderer.h"
#include "render/core/DesktopWallpaper.h"
#include "render/core/Resampler.h"
#include "settings/SettingsStore.h"

namespace {

constexpr wchar_t kTerminatorImageName[] = L"Pembrix Gloamery Terminator Image.bmp";
constexpr wchar_t kWallpaperName[] = L"Pembrix Gloamery Current Image.bmp";

// The wallpaper's path in the output folder, or false when there is no output folder.
bool WallpaperPath(std::wstring& path) {
    std::wstring folder;
    if (!GetOutputFolder(folder)) {
        return false;
    }
    path = folder + L"\\" + kWallpaperName;
    return path.size() < MAX_PATH;
}

void InstallWallpaper(const std::wstring& path) {
    std::wstring parameter = path; // the call takes a non-const pointer
    SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, parameter.data(),
                          SPIF_UPDATEINIFILE | SPIF_SENDWININICHANGE);
}

// With spanStyle, the desktop is set to span the picture across the monitors before it is
// installed.
void Compose(SettingsStore& settings, const SYSTEMTIME& utc, std::span<const PixelRect> monitors,
             bool spanStyle) {
    settings.SetCancel(0);

    const bool terminatorMode = settings.GetTerminator() == 1;
    // The day-and-night picture comes from the renderer; any other from its file.
    std::optional<PictureBuffer> picture;
    bool rendered = false;
    std::wstring terminatorPath;
    if (terminatorMode) {
        terminatorPath = MakeOutputPath(kTerminatorImageName);
        picture = RenderTerminatorPicture(settings, utc);
        if (settings.GetCancel() == 1) {
            return;
        }
        // Without a new rendering, the one an earlier update left is shown.
        rendered = picture.has_value();
        if (!rendered) {
            picture = ReadPictureFile(terminatorPath);
        }
    } else {
        std::wstring picturePath;
        settings.GetSrcImgPath(picturePath);
        picture = ReadPictureFile(picturePath);
    }
    const auto progress = [&settings, terminatorMode](int percent) {
        if (!terminatorMode) {
            settings.SetProgress(percent);
        }
    };
    if (!picture) {
        return;
    }
    const PixelView source = picture->Pixels();
    // A picture or screen of no size gives nothing sound to draw: the run ends as when the
    // picture does not load.
    const auto layout = ComputeDesktopWallpaper(
        source.width, source.height, settings.GetNoonPixel(), utc.wHour, utc.wMinute, monitors);
    if (!layout) {
        return;
    }

    PictureBuffer wallpaper(static_cast<std::uint32_t>(layout->bounds.width),
                            static_cast<std::uint32_t>(layout->bounds.height), picture->Format());
    const auto stopped = [&settings] { return settings.GetCancel() == 1; };
    const auto& pieces = layout->pieces;
    for (size_t next = 0; next < pieces.size(); ++next) {
        // The lower half of the piece's rows on a second thread, the upper half here.
        const DrawPiece& piece = pieces[next];
        const int half = piece.destination.height / 2;
        bool lowerDrawn = false;
        bool upperDrawn = false;
        {
            const SideTask lower([&] {
                try {
                    lowerDrawn = ResamplePieceRows(source, piece, half, piece.destination.height,
                                                   wallpaper.Pixels(), stopped);
                } catch (const std::exception&) {
                }
            });
            upperDrawn = ResamplePieceRows(source, piece, 0, half, wallpaper.Pixels(), stopped);
        }
        if (!upperDrawn || !lowerDrawn) {
            return;
        }
        if (next == 0) {
            progress(25);
        }
    }
    progress(50);
    if (settings.GetCancel() == 1) {
        return;
    }
    // The desktop keeps its current picture unless a complete new file is in place.
    std::wstring wallpaperPath;
    CLSID bmpEncoder{};
    const bool wallpaperSaved = WallpaperPath(wallpaperPath) &&
                                GetEncoderClsid(L"image/bmp", bmpEncoder) != -1 &&
                                SaveImageReplacing(wallpaper.Bitmap(), wallpaperPath, bmpEncoder);
    // A new day-and-night picture goes to its file while the wallpaper is installed. Begun any
    // earlier, it would take a processor from the wallpaper.
    std::optional<SideTask> saveRendered;
    if (rendered) {
        saveRendered.emplace([&] { SaveTerminatorPicture(picture->Bitmap(), terminatorPath); });
    }
    if (!wallpaperSaved) {
        return;
    }
    progress(75);
    if (spanStyle) {
        SetSpanWallpaperStyle();
    }
    InstallWallpaper(wallpaperPath);
    progress(100);
}

} // namespace

void ComposeDesktopWallpaperAt(SettingsStore& settings, const SYSTEMTIME& utc,
                               std::span<const PixelRect> monitors) noexcept {
    try {
        Compose(settings, utc, monitors, monitors.size() > 1);
    } catch (const std::exception&) {
        // Out of memory for a path, the piece list or the wallpaper's pixels: this update is
        // skipped, the next one tries again. Everything acquired so far has been released on
        // the way out.
    }
}

void ComposeWallpaperAt(SettingsStore& settings, const SYSTEMTIME& utc, int screenWidth,
                        int screenHeight) noexcept {
    const PixelRect screen{0, 0, screenWidth, screenHeight};
    ComposeDesktopWallpaperAt(settings, utc, {&screen, 1});
}

void ComposeWallpaper(SettingsStore& settings) noexcept {
    SYSTEMTIME utc{};
    GetSystemTime(&utc);
    std::vector<PixelRect> monitors;
    try {
        monitors = DesktopMonitors();
    } catch (const std::exception&) {
    }
    // One picture spans several monitors where the desktop can lay it across them; elsewhere,
    // and with one monitor, the picture is the primary screen's.
    if (monitors.size() > 1 && CanSpanWallpaper()) {
        ComposeDesktopWallpaperAt(settings, utc, monitors);
    } else {
        ComposeWallpaperAt(settings, utc, GetSystemMetrics(SM_CXSCREEN),
                           GetSystemMetrics(SM_CYSCREEN));
    }
}
