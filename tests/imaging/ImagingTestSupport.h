#pragma once
// Test helpers for code that works on GDI+ images and files.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "render/GdiplusOwners.h"

// Names of everything in a folder, sorted.
std::vector<std::wstring> FolderEntries(const std::wstring& path);

// A fresh folder under the temporary folder, removed with its files when the test ends.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::wstring File(const std::wstring& name) const { return path + L"\\" + name; }
    // Names of everything in the folder, sorted.
    std::vector<std::wstring> Entries() const { return FolderEntries(path); }

private:
    std::wstring path;
};

using ColourAt = std::function<Gdiplus::ARGB(int x, int y)>;

// A bitmap whose pixel (x, y) has the colour colourAt(x, y), in the given pixel format.
UniqueGdipBitmap MakeBitmap(int width, int height, Gdiplus::PixelFormat format,
                            const ColourAt& colourAt);

// The same written straight to path with the encoder for mimeType ("image/bmp", "image/png").
void WritePicture(const std::wstring& path, int width, int height, Gdiplus::PixelFormat format,
                  const wchar_t* mimeType, const ColourAt& colourAt);

// A 24-bit BMP's file and info headers written by hand, followed by dataBytes zero bytes.
std::string BmpBytes(std::int32_t width, std::int32_t height, std::uint32_t dataBytes);

Gdiplus::ARGB PixelAt(Gdiplus::GpBitmap* bitmap, int x, int y);
using ImageSize = std::pair<UINT, UINT>; // width, height
ImageSize SizeOf(Gdiplus::GpImage* image);

bool FileExists(const std::wstring& path);
std::string ReadFileBytes(const std::wstring& path);
void WriteFileBytes(const std::wstring& path, const std::string& bytes);

// A UTC instant; its milliseconds are set to show that they are not used.
inline SYSTEMTIME MakeUtc(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second) {
    return SYSTEMTIME{year, month, 0, day, hour, minute, second, 999};
}

inline int Red(Gdiplus::ARGB colour) {
    return static_cast<int>((colour >> 16) & 0xFF);
}
inline int Green(Gdiplus::ARGB colour) {
    return static_cast<int>((colour >> 8) & 0xFF);
}
inline int Blue(Gdiplus::ARGB colour) {
    return static_cast<int>(colour & 0xFF);
}
inline Gdiplus::ARGB Opaque(int red, int green, int blue) {
    return 0xFF000000u | (static_cast<Gdiplus::ARGB>(red) << 16) |
           (static_cast<Gdiplus::ARGB>(green) << 8) | static_cast<Gdiplus::ARGB>(blue);
}
