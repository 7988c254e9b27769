#pragma once
// Test helpers for code that works on GDI+ images and files.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "render/GdiplusOwners.h"

// A fresh folder under the temporary folder, removed with its files when the test ends.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::wstring& Path() const { return path; }
    std::wstring File(const std::wstring& name) const { return path + L"\\" + name; }
    // Names of everything in the folder, sorted.
    std::vector<std::wstring> Entries() const;

private:
    std::wstring path;
};

// Names of everything in a folder, sorted.
std::vector<std::wstring> FolderEntries(const std::wstring& path);

// A bitmap whose pixel (x, y) has the colour colourAt(x, y), in the given pixel format.
UniqueGdipBitmap MakeBitmap(int width, int height, Gdiplus::PixelFormat format,
                            const std::function<Gdiplus::ARGB(int x, int y)>& colourAt);

// Writes image as a BMP file straight to path (no temporary), failing the test on error.
void WriteBmp(Gdiplus::GpImage* image, const std::wstring& path);

Gdiplus::ARGB PixelAt(Gdiplus::GpBitmap* bitmap, int x, int y);
UINT ImageWidth(Gdiplus::GpImage* image);
UINT ImageHeight(Gdiplus::GpImage* image);

bool FileExists(const std::wstring& path);
std::string ReadFileBytes(const std::wstring& path);
void WriteFileBytes(const std::wstring& path, const std::string& bytes);

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
