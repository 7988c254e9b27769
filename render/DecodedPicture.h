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
#include "win/Unique.h"

template <typename Interface> struct ComTraits {
    using Handle = Interface*;
    static Handle invalid() noexcept { return nullptr; }
    static void close(Handle object) noexcept { object->Release(); }
};
template <typename Interface> using UniqueCom = Unique<ComTraits<Interface>>;

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
    // Decodes the first frame of the file at path; empty when it can't be read.
    explicit DecodedPicture(const std::wstring& path) noexcept;

    explicit operator bool() const noexcept { return static_cast<bool>(source); }
    std::uint32_t Width() const noexcept { return width; }
    std::uint32_t Height() const noexcept { return height; }
    // 3 for pictures decoded as 24-bit BGR, which stay so; every other is read as 32-bit BGRA.
    std::uint32_t BytesPerPixel() const noexcept { return bytesPerPixel; }
    // The GDI+ format that holds the pixels as read: 24-bit RGB, 32-bit RGB for pictures without
    // alpha or 32-bit ARGB; PixelFormatUndefined for palette, grey and 16-bit pictures, whose
    // few levels can't take arbitrary colours back.
    Gdiplus::PixelFormat ColourFormat() const noexcept { return colourFormat; }

    // Copies the area's pixels to `to`, whose row 0 and column 0 take the area's first row and
    // column. False when the area lies outside the picture or does not fit `to`.
    bool Copy(const PixelArea& area, PixelView to) const noexcept;
    // Copies the whole picture to `to`, a fresh buffer of its size: its upper rows while the
    // pages of its lower rows are first written on a second thread (see FirstTouch.h). May throw
    // std::bad_alloc when that thread's work cannot be set up.
    bool CopyAll(PixelView to) const;

private:
    UniqueCom<IWICBitmapDecoder> decoder;
    UniqueCom<IWICBitmapSource> source; // the frame, converted to BGRA where needed
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint32_t bytesPerPixel = 4;
    Gdiplus::PixelFormat colourFormat = PixelFormatUndefined;
};

// The picture in the file at path, in the program's own memory in the format ColourFormat names,
// or 32-bit ARGB for pictures of few levels. Nothing when it can't be read or held.
std::optional<PictureBuffer> ReadPictureFile(const std::wstring& path) noexcept;
