#pragma once
// Pictures and settings for running the terminator renderer against Wine's GDI+.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "TerminatorReference.h"
#include "render/core/TerminatorSun.h"
#include "tests/imaging/ImagingTestSupport.h"

SYSTEMTIME MakeUtc(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second);
SunInstant SunFor(const SYSTEMTIME& utc);

// Writes a picture in the given format and encoder ("image/bmp", "image/png").
void WritePicture(const std::wstring& path, int width, int height, Gdiplus::PixelFormat format,
                  const wchar_t* mimeType,
                  const std::function<Gdiplus::ARGB(int x, int y)>& colourAt);

// Loads a picture file as 32-bit ARGB, the way the renderer sees it. Empty when it can't.
ArgbBuffer ReadPicture(const std::wstring& path);

// A BMP file header and info header for a 24-bit picture, followed by dataBytes zero bytes.
std::string BmpBytes(std::int32_t width, std::int32_t height, std::uint32_t dataBytes);

// What the renderer must produce: the per-pixel blend of the pictures at day and night paths.
ArgbBuffer ExpectedBlend(const SYSTEMTIME& utc, const std::wstring& dayPath,
                         const std::wstring& nightPath);

// Number of pixels whose colour differs, ignoring those whose altitude sits within 1e-9
// degrees of a place where the alpha changes. Alpha is not compared: the BMP writer keeps none.
int CountColourDifferences(const SYSTEMTIME& utc, const ArgbBuffer& actual,
                           const ArgbBuffer& expected);
