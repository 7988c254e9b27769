#include "render/WallpaperComposer.h"

#include <cstdint>
#include <exception>
#include <functional>
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
#include "render/SplitResample.h"
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

// The picture to show: the day-and-night picture from the renderer, or the main image from its
// file. Without a new day-and-night picture, the one an earlier update left is shown. status
// says what was made of the maps.
struct MapPicture {
    std::optional<PictureBuffer> picture;
    bool rendered = false; // a new day-and-night picture, to be saved to its file
    MapStatus status;
};

MapPicture LoadMap(SettingsStore& settings, const SYSTEMTIME& utc, bool terminatorMode,
                   const std::wstring& terminatorPath) {
    MapPicture map;
    if (terminatorMode) {
        map.picture = RenderTerminatorPicture(settings, utc, map.status);
        map.rendered = map.picture.has_value();
        if (!map.rendered && settings.GetCancel() != 1) {
            MapProblem ignored{};
            map.picture = ReadPictureFile(terminatorPath, ignored);
        }
    } else {
        settings.GetSrcImgPath(map.status.file);
        map.picture = ReadPictureFile(map.status.file, map.status.problem);
    }
    if (map.status.problem == MapProblem::none) {
        map.status.file.clear();
    }
    return map;
}

// Draws every piece of the layout into a picture of the layout's size; nothing when stopped.
std::optional<PictureBuffer> DrawWallpaper(const PictureBuffer& map, const DesktopWallpaper& layout,
                                           const std::function<bool()>& stopped,
                                           const std::function<void(int)>& progress) {
    PictureBuffer wallpaper(static_cast<std::uint32_t>(layout.bounds.width),
                            static_cast<std::uint32_t>(layout.bounds.height), map.Format());
    for (std::size_t next = 0; next < layout.pieces.size(); ++next) {
        if (!ResamplePieceOnTwoThreads(map.Pixels(), layout.pieces[next], wallpaper.Pixels(),
                                       stopped)) {
            return {};
        }
        if (next == 0) {
            progress(25);
        }
    }
    return wallpaper;
}

// Saves the wallpaper and makes it the desktop's, the new day-and-night picture going to its
// own file meanwhile. With spanStyle, the desktop is set to span the picture across the
// monitors first. The desktop keeps its current picture unless a complete new file is in place.
void SaveAndInstall(SettingsStore& settings, const PictureBuffer& wallpaper, const MapPicture& map,
                    const std::wstring& terminatorPath, bool spanStyle,
                    const std::function<void(int)>& progress) {
    std::wstring wallpaperPath;
    CLSID bmpEncoder{};
    const bool wallpaperSaved = WallpaperPath(wallpaperPath) &&
                                GetEncoderClsid(L"image/bmp", bmpEncoder) != -1 &&
                                SaveImageReplacing(wallpaper.Bitmap(), wallpaperPath, bmpEncoder);
    // Begun any earlier, this save would take a processor from the wallpaper.
    std::optional<SideTask> saveRendered;
    if (map.rendered) {
        saveRendered.emplace([&] { SaveTerminatorPicture(map.picture->Bitmap(), terminatorPath); });
    }
    if (!wallpaperSaved || settings.GetCancel() == 1) {
        return;
    }
    progress(75);
    if (spanStyle) {
        SetSpanWallpaperStyle();
    }
    InstallWallpaper(wallpaperPath);
    progress(100);
}

void Compose(SettingsStore& settings, const SYSTEMTIME& utc, std::span<const PixelRect> monitors,
             bool spanStyle) {
    settings.SetCancel(0);
    const auto stopped = [&settings] { return settings.GetCancel() == 1; };
    // The day-and-night picture's progress is the renderer's alone.
    const bool terminatorMode = settings.GetTerminator() == 1;
    const auto progress = [&settings, terminatorMode](int percent) {
        if (!terminatorMode) {
            settings.SetProgress(percent);
        }
    };

    const std::wstring terminatorPath =
        terminatorMode ? MakeOutputPath(kTerminatorImageName) : std::wstring();
    const MapPicture map = LoadMap(settings, utc, terminatorMode, terminatorPath);
    if (stopped()) {
        return;
    }
    settings.SetMapStatus(map.status);
    if (!map.picture) {
        return;
    }
    const PixelView source = map.picture->Pixels();
    // A picture or screen of no size gives nothing sound to draw: the run ends as when the
    // picture does not load.
    const auto layout = ComputeDesktopWallpaper(
        source.width, source.height, settings.GetNoonPixel(), utc.wHour, utc.wMinute, monitors);
    if (!layout) {
        return;
    }
    const auto wallpaper = DrawWallpaper(*map.picture, *layout, stopped, progress);
    if (!wallpaper) {
        return;
    }
    progress(50);
    if (stopped()) {
        return;
    }
    SaveAndInstall(settings, *wallpaper, map, terminatorPath, spanStyle, progress);
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
