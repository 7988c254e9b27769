#pragma once
// Maps that carry a colour profile other than sRGB, converted to sRGB by the system's colour
// management as their pixels are copied out. A map without a profile, with an sRGB one or with
// one that can't be used has no conversion, and its pixels stay as decoded.

#include <windows.h>

#include <icm.h>
#include <wincodec.h>

#include <string>

#include "render/core/PixelView.h"
#include "win/Unique.h"

struct ColourTransformTraits {
    using Handle = HTRANSFORM;
    static Handle invalid() noexcept { return nullptr; }
    static void close(Handle transform) noexcept { DeleteColorTransform(transform); }
};

class ColourConversion {
public:
    ColourConversion() noexcept = default;
    // The conversion for the frame decoded from the file at path: the profile the decoder
    // reports, or else, for a JPEG file (whose decoder may not report it), the one in the file's
    // own segments.
    ColourConversion(IWICImagingFactory& factory, IWICBitmapDecoder& decoder,
                     IWICBitmapFrameDecode& frame, const std::wstring& path) noexcept;

    explicit operator bool() const noexcept { return static_cast<bool>(transform); }
    // Converts 24-bit BGR or 32-bit BGRA pixels in place, alpha untouched; false when the system
    // could not.
    bool Apply(PixelView pixels) const noexcept;

private:
    Unique<ColourTransformTraits> transform;
};
