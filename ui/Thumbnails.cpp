#include "ui/Thumbnails.h"

#include <shlwapi.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <new>
#include <vector>

#include "render/DecodedPicture.h"
#include "render/GdiplusOwners.h"
#include "render/core/Resampler.h"

namespace {

using namespace Gdiplus::DllExports;

// Rows of 24-bit pixels as bitmaps keep them, padded to four bytes.
std::uint32_t RowBytes(std::uint32_t width) {
    return (width * 3 + 3) & ~3u;
}

// Decodes a picture resource into `bytes` as 24-bit pixels; its view in `map`.
bool ReadMap(int resource, std::vector<std::uint8_t>& bytes, ConstPixelView& map) {
    const HMODULE module = GetModuleHandleW(nullptr);
    const HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(resource), RT_RCDATA);
    const HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const auto* data = static_cast<const BYTE*>(loaded ? LockResource(loaded) : nullptr);
    if (!data) {
        return false;
    }
    // The stream outlives the bitmap, which reads from it.
    const UniqueCom<IStream> stream(SHCreateMemStream(data, SizeofResource(module, found)));
    UniqueGdipBitmap bitmap;
    UINT width = 0;
    UINT height = 0;
    if (!stream || GdipCreateBitmapFromStream(stream.get(), bitmap.put()) != Gdiplus::Ok ||
        GdipGetImageWidth(bitmap.get(), &width) != Gdiplus::Ok ||
        GdipGetImageHeight(bitmap.get(), &height) != Gdiplus::Ok || width == 0 || height == 0) {
        return false;
    }
    bytes.resize(static_cast<std::size_t>(RowBytes(width)) * height);
    const Gdiplus::GpRect all(0, 0, static_cast<INT>(width), static_cast<INT>(height));
    Gdiplus::BitmapData locked{
        width, height, static_cast<INT>(RowBytes(width)), PixelFormat24bppRGB, bytes.data(), 0};
    if (GdipBitmapLockBits(bitmap.get(), &all,
                           Gdiplus::ImageLockModeRead | Gdiplus::ImageLockModeUserInputBuf,
                           PixelFormat24bppRGB, &locked) != Gdiplus::Ok) {
        return false;
    }
    GdipBitmapUnlockBits(bitmap.get(), &locked);
    map = {bytes.data(), width, height, static_cast<std::ptrdiff_t>(RowBytes(width)), 3};
    return true;
}

// How far (x, y) lies from the segment from a to b.
double SegmentDistance(double x, double y, const double (&a)[2], const double (&b)[2]) {
    const double dx = b[0] - a[0];
    const double dy = b[1] - a[1];
    const double t =
        std::clamp(((x - a[0]) * dx + (y - a[1]) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
    return std::hypot(x - (a[0] + t * dx), y - (a[1] + t * dy));
}

// A large red check mark across a 24-bit picture, laid out on a 100-pixel-wide frame stretched
// over the picture, so that it covers the same part at every size; its edges are smoothed by
// 4x4 samples a pixel.
void DrawCheckMark(PixelView picture) {
    constexpr double kStroke[][2] = {{20, 25}, {39, 43}, {83, 6}};
    constexpr double kHalfWidth = 4.2;
    constexpr int kRed[] = {16, 16, 224}; // blue, green, red
    const double frameUnit = 100.0 / picture.width;
    for (std::uint32_t y = 0; y < picture.height; ++y) {
        std::uint8_t* pixel = picture.Row(y);
        for (std::uint32_t x = 0; x < picture.width; ++x, pixel += 3) {
            int covered = 0;
            for (int sample = 0; sample < 16; ++sample) {
                const double frameX = (x + (sample % 4 + 0.5) / 4) * frameUnit;
                const double frameY = (y + (sample / 4 + 0.5) / 4) * frameUnit;
                covered +=
                    std::min(SegmentDistance(frameX, frameY, kStroke[0], kStroke[1]),
                             SegmentDistance(frameX, frameY, kStroke[1], kStroke[2])) <= kHalfWidth;
            }
            for (int channel = 0; channel < 3; ++channel) {
                pixel[channel] = static_cast<std::uint8_t>(std::lround(
                    pixel[channel] + (kRed[channel] - pixel[channel]) * covered / 16.0));
            }
        }
    }
}

} // namespace

SIZE ThumbnailSize(UINT dpi) noexcept {
    return {MulDiv(100, static_cast<int>(dpi), 96), MulDiv(50, static_cast<int>(dpi), 96)};
}

UINT WindowDpi(HWND window) noexcept {
    // Windows 10 from version 1607 tells a window's scale, Windows 8.1 a monitor's; the module
    // that tells it there stays loaded for the process.
    using DpiForWindow = UINT(WINAPI*)(HWND);
    using DpiForMonitor = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
    static const auto dpiForWindow = reinterpret_cast<DpiForWindow>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    static const HMODULE shcore =
        LoadLibraryExW(L"shcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    static const auto dpiForMonitor = reinterpret_cast<DpiForMonitor>(reinterpret_cast<void (*)()>(
        shcore ? GetProcAddress(shcore, "GetDpiForMonitor") : nullptr));
    if (const UINT dpi = dpiForWindow ? dpiForWindow(window) : 0) {
        return dpi;
    }
    constexpr int kEffectiveDpi = 0; // MDT_EFFECTIVE_DPI
    UINT dpi = 0;
    UINT dpiY = 0;
    if (dpiForMonitor &&
        SUCCEEDED(dpiForMonitor(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), kEffectiveDpi,
                                &dpi, &dpiY)) &&
        dpi) {
        return dpi;
    }
    const UniqueMemoryDc screen(CreateCompatibleDC(nullptr));
    const int systemDpi = screen ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
    return systemDpi > 0 ? static_cast<UINT>(systemDpi) : 96;
}

UniqueBitmap MakeThumbnail(int map, bool halfTurned, SIZE size, bool checked) noexcept try {
    std::vector<std::uint8_t> mapBytes;
    ConstPixelView mapPixels;
    if (size.cx <= 0 || size.cy <= 0 || !ReadMap(map, mapBytes, mapPixels)) {
        return {};
    }
    BITMAPINFO format{};
    // Top-down rows of 24-bit pixels.
    format.bmiHeader = {sizeof format.bmiHeader, size.cx, -size.cy, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    UniqueBitmap picture(CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!picture) {
        return {};
    }
    const auto width = static_cast<std::uint32_t>(size.cx);
    const PixelView pixels{static_cast<std::uint8_t*>(bits), width,
                           static_cast<std::uint32_t>(size.cy),
                           static_cast<std::ptrdiff_t>(RowBytes(width)), 3};
    const int firstColumn = halfTurned ? static_cast<int>(mapPixels.width / 2) : 0;
    const DrawPiece whole{
        {firstColumn, 0, static_cast<int>(mapPixels.width), static_cast<int>(mapPixels.height)},
        {0, 0, size.cx, size.cy}};
    if (!ResamplePiece(mapPixels, whole, pixels, {})) {
        return {};
    }
    if (checked) {
        DrawCheckMark(pixels);
    }
    return picture;
} catch (const std::bad_alloc&) {
    return {};
}
