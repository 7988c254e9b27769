#include "render/WallpaperComposer.h"

#include <exception>
#include <string>

#include "render/EncoderClsid.h"
#include "render/GdiplusBitmapFile.h"
#include "render/GdiplusCanvas.h"
#include "render/OutputFolder.h"
#include "render/SaveImageFile.h"
#include "render/TerminatorRenderer.h"
#include "render/core/WallpaperGeometry.h"
#include "settings/SettingsStore.h"

namespace {

constexpr wchar_t kTerminatorImageName[] = L"Pembrix Gloamery Terminator Image.bmp";
constexpr wchar_t kWallpaperName[] = L"Pembrix Gloamery Current Image.bmp";

// A scaled draw blends the pixels at the edges of its source rectangle with what lies outside
// it, transparent black by default, which leaves a dark line where two pieces meet and a dark
// border. Mirroring the picture at its edges blends them with themselves instead.
UniqueGdipImageAttributes MirroredEdges() noexcept {
    using namespace Gdiplus::DllExports;
    UniqueGdipImageAttributes attributes;
    if (GdipCreateImageAttributes(attributes.put()) != Gdiplus::Ok ||
        GdipSetImageAttributesWrapMode(attributes.get(), Gdiplus::WrapModeTileFlipXY, 0, FALSE) !=
            Gdiplus::Ok) {
        return {};
    }
    return attributes;
}

void Draw(const GdiplusCanvas& canvas, Gdiplus::GpImage* picture, const DrawPiece& piece,
          const Gdiplus::GpImageAttributes* attributes) noexcept {
    const PixelRect& to = piece.destination;
    const PixelRect& from = piece.source;
    Gdiplus::DllExports::GdipDrawImageRectRectI(
        canvas.graphics.get(), picture, to.x, to.y, to.width, to.height, from.x, from.y, from.width,
        from.height, Gdiplus::UnitPixel, attributes, nullptr, nullptr);
}

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

void Compose(SettingsStore& settings, const SYSTEMTIME& utc, int screenWidth, int screenHeight) {
    using namespace Gdiplus::DllExports;
    settings.SetCancel(0);

    const bool terminatorMode = settings.GetTerminator() == 1;
    std::wstring picturePath;
    if (terminatorMode) {
        picturePath = MakeOutputPath(kTerminatorImageName);
        RenderTerminatorImageAt(picturePath, settings, utc);
        if (settings.GetCancel() == 1) {
            return;
        }
    } else {
        settings.GetSrcImgPath(picturePath);
    }
    const auto progress = [&settings, terminatorMode](int percent) {
        if (!terminatorMode) {
            settings.SetProgress(percent);
        }
    };

    const UniqueGdipBitmap picture = LoadBitmapFromFile(picturePath);
    if (!picture) {
        return;
    }
    UINT width = 0;
    UINT height = 0;
    Gdiplus::PixelFormat format = PixelFormatUndefined;
    if (GdipGetImageWidth(picture.get(), &width) != Gdiplus::Ok ||
        GdipGetImageHeight(picture.get(), &height) != Gdiplus::Ok ||
        GdipGetImagePixelFormat(picture.get(), &format) != Gdiplus::Ok) {
        return;
    }
    // A picture or screen of no size gives nothing sound to draw: the run ends as when the
    // picture does not load.
    const auto geometry = ComputeWallpaperGeometry(
        width, height, settings.GetNoonPixel(), utc.wHour, utc.wMinute, screenWidth, screenHeight);
    if (!geometry) {
        return;
    }

    GdiplusCanvas canvas = CreateCanvas(screenWidth, screenHeight, format);
    if (!canvas) {
        return;
    }
    const UniqueGdipImageAttributes attributes = MirroredEdges();
    const auto& pieces = geometry->pieces;
    Draw(canvas, picture.get(), pieces.front(), attributes.get());
    progress(25);
    for (size_t next = 1; next < pieces.size(); ++next) {
        Draw(canvas, picture.get(), pieces[next], attributes.get());
    }
    progress(50);
    // The drawing context goes before the bitmap is saved, so every draw has reached it.
    canvas.graphics.reset();

    if (settings.GetCancel() == 1) {
        return;
    }
    std::wstring wallpaperPath;
    if (!WallpaperPath(wallpaperPath)) {
        return;
    }
    CLSID bmpEncoder{};
    if (GetEncoderClsid(L"image/bmp", bmpEncoder) == -1) {
        return;
    }
    // The desktop keeps its current picture unless a complete new file is in place.
    if (!SaveImageReplacing(canvas.bitmap.get(), wallpaperPath, bmpEncoder)) {
        return;
    }
    progress(75);
    InstallWallpaper(wallpaperPath);
    progress(100);
}

} // namespace

void ComposeWallpaperAt(SettingsStore& settings, const SYSTEMTIME& utc, int screenWidth,
                        int screenHeight) noexcept {
    try {
        Compose(settings, utc, screenWidth, screenHeight);
    } catch (const std::exception&) {
        // Out of memory for a path or the piece list: this update is skipped, the next one
        // tries again. Everything acquired so far has been released on the way out.
    }
}

void ComposeWallpaper(SettingsStore& settings) noexcept {
    SYSTEMTIME utc{};
    GetSystemTime(&utc);
    ComposeWallpaperAt(settings, utc, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
}
