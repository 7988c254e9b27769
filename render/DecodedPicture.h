#pragma once
// A picture file decoded by the system's imaging codecs, read out rectangle by rectangle. GDI+
// hands a decoded picture back only as a whole copy; the codec's own decoded pixels can be
// copied out piece by piece, so a caller that needs only part of a picture, or wants it in its
// own memory, holds it once.

#include <windows.h>

#include <gdiplus.h>
#include <wincodec.h>

#include <cstdint>
#include <optional>
#include <string>

#include "render/PictureBuffer.h"
#include "render/core/NightPixels.h"
#include "settings/MapStatus.h"
#include "render/ColourProfile.h"
#include "win/Handles.h"

// The calling thread in the multithreaded apartment while the object lives, so that the decoded
// pictures of several threads can be handed between them.
class MultithreadedApartment {
public:
    MultithreadedApartment() noexcept
        : entered(SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED))) {}
    ~MultithreadedApartment() {
        if (entered) {
            CoUninitialize();
        }
    }
    MultithreadedApartment(const MultithreadedApartment&) = delete;
    MultithreadedApartment& operator=(const MultithreadedApartment&) = delete;

private:
    bool entered;
};

class DecodedPicture {
public:
    DecodedPicture() noexcept = default;
    // Decodes the first frame of the file at path; empty when it can't be read, and Problem()
    // then says why.
    explicit DecodedPicture(const std::wstring& path) noexcept;

    explicit operator bool() const noexcept { return static_cast<bool>(source); }
    MapProblem Problem() const noexcept { return problem; }
    std::uint32_t Width() const noexcept { return width; }
    std::uint32_t Height() const noexcept { return height; }
    // 3 for pictures without alpha, read as 24-bit BGR (32-bit BGR pictures excepted, which
    // stay so); 4 for every other, read as 32-bit BGRA.
    std::uint32_t BytesPerPixel() const noexcept { return bytesPerPixel; }
    // The GDI+ format that holds the pixels as read: 24-bit RGB, 32-bit RGB for pictures of
    // four bytes without alpha, or 32-bit ARGB.
    Gdiplus::PixelFormat ColourFormat() const noexcept { return colourFormat; }

    // Copies the area's pixels to `to`, whose row 0 and column 0 take the area's first row and
    // column, converted to sRGB where the file carries another colour profile. False when the area
    // lies outside the picture or does not fit `to`, or the file turns out to be damaged.
    bool Copy(const PixelArea& area, PixelView to) const noexcept;
    // Copies the whole picture to `to`, a fresh buffer of its size: its upper rows while the
    // pages of its lower rows are first written on a second thread (see FirstTouch.h). May throw
    // std::bad_alloc when that thread's work cannot be set up.
    bool CopyAll(PixelView to) const;

private:
    UniqueCom<IWICBitmapDecoder> decoder;
    UniqueCom<IWICBitmapSource> source; // the frame, converted where needed
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint32_t bytesPerPixel = 4;
    Gdiplus::PixelFormat colourFormat = PixelFormat32bppARGB;
    MapProblem problem = MapProblem::none;
    ColourConversion toSrgb; // applied to the pixels as they are copied out
};

// The picture in the file at path, in the program's own memory in the format ColourFormat names.
// Nothing when it can't be read or held, and problem then says why.
std::optional<PictureBuffer> ReadPictureFile(const std::wstring& path,
                                             MapProblem& problem) noexcept;
