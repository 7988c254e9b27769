#include "render/DecodedPicture.h"

#include <climits>
#include <exception>
#include <span>

#include "render/FirstTouch.h"

namespace {

// Formats whose pixels are all opaque, palette formats aside.
bool IsOpaqueFormat(const WICPixelFormatGUID& format) {
    for (const GUID* opaque :
         {&GUID_WICPixelFormat24bppBGR, &GUID_WICPixelFormat24bppRGB, &GUID_WICPixelFormat32bppBGR,
          &GUID_WICPixelFormat48bppRGB, &GUID_WICPixelFormat48bppBGR,
          &GUID_WICPixelFormatBlackWhite, &GUID_WICPixelFormat2bppGray,
          &GUID_WICPixelFormat4bppGray, &GUID_WICPixelFormat8bppGray, &GUID_WICPixelFormat16bppGray,
          &GUID_WICPixelFormat16bppBGR555, &GUID_WICPixelFormat16bppBGR565,
          &GUID_WICPixelFormat32bppCMYK, &GUID_WICPixelFormat64bppCMYK}) {
        if (format == *opaque) {
            return true;
        }
    }
    return false;
}

bool IsPaletteFormat(const WICPixelFormatGUID& format) {
    return format == GUID_WICPixelFormat1bppIndexed || format == GUID_WICPixelFormat2bppIndexed ||
           format == GUID_WICPixelFormat4bppIndexed || format == GUID_WICPixelFormat8bppIndexed;
}

// Whether the frame's pixels may be other than opaque. A palette picture is asked its palette,
// and one that does not answer counts as translucent; BMP palettes have no alpha, whatever
// their fourth bytes hold.
bool HasAlpha(IWICImagingFactory& factory, IWICBitmapDecoder& decoder, IWICBitmapFrameDecode& frame,
              const WICPixelFormatGUID& format) {
    if (!IsPaletteFormat(format)) {
        return !IsOpaqueFormat(format);
    }
    GUID container{};
    if (SUCCEEDED(decoder.GetContainerFormat(&container)) && container == GUID_ContainerFormatBmp) {
        return false;
    }
    UniqueCom<IWICPalette> palette;
    BOOL alpha = TRUE;
    return FAILED(factory.CreatePalette(palette.put())) ||
           FAILED(frame.CopyPalette(palette.get())) || FAILED(palette.get()->HasAlpha(&alpha)) ||
           alpha;
}

} // namespace

DecodedPicture::DecodedPicture(const std::wstring& path) noexcept {
    UniqueCom<IWICImagingFactory> factory;
    UniqueCom<IWICBitmapFrameDecode> frame;
    WICPixelFormatGUID format{};
    UINT frameWidth = 0;
    UINT frameHeight = 0;
    const auto fail = [this](MapProblem why) {
        source.reset();
        decoder.reset();
        problem = why;
    };
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                IID_PPV_ARGS(factory.put())))) {
        fail(MapProblem::unreadable);
        return;
    }
    if (FAILED(factory.get()->CreateDecoderFromFilename(
            path.c_str(), nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand, decoder.put()))) {
        fail(GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES ? MapProblem::notFound
                                                                         : MapProblem::unreadable);
        return;
    }
    if (FAILED(decoder.get()->GetFrame(0, frame.put())) ||
        FAILED(frame.get()->GetSize(&frameWidth, &frameHeight)) ||
        FAILED(frame.get()->GetPixelFormat(&format)) || frameWidth == 0 || frameHeight == 0) {
        fail(MapProblem::unreadable);
        return;
    }
    if (frameWidth > INT_MAX / 4 || frameHeight > INT_MAX) {
        fail(MapProblem::tooLarge);
        return;
    }
    toSrgb = ColourConversion(*factory.get(), *decoder.get(), *frame.get(), path);
    if (format == GUID_WICPixelFormat24bppBGR) {
        bytesPerPixel = 3;
        colourFormat = PixelFormat24bppRGB;
        source.reset(frame.release());
    } else {
        // Every decoder's pixels convert to 32-bit BGRA (Wine converts palette and grey pictures
        // to nothing else); pictures without alpha go on from there to 24 bits.
        const bool alpha = HasAlpha(*factory.get(), *decoder.get(), *frame.get(), format);
        if (FAILED(
                WICConvertBitmapSource(GUID_WICPixelFormat32bppBGRA, frame.get(), source.put()))) {
            fail(MapProblem::unreadable);
            return;
        }
        if (alpha) {
            colourFormat = PixelFormat32bppARGB;
        } else if (format == GUID_WICPixelFormat32bppBGR) {
            colourFormat = PixelFormat32bppRGB;
        } else {
            UniqueCom<IWICBitmapSource> bgr;
            if (FAILED(
                    WICConvertBitmapSource(GUID_WICPixelFormat24bppBGR, source.get(), bgr.put()))) {
                fail(MapProblem::unreadable);
                return;
            }
            source = std::move(bgr);
            bytesPerPixel = 3;
            colourFormat = PixelFormat24bppRGB;
        }
    }
    width = frameWidth;
    height = frameHeight;
}

bool DecodedPicture::Copy(const PixelArea& area, PixelView to) const noexcept {
    if (!source || area.firstColumn >= area.endColumn || area.endColumn > width ||
        area.firstRow >= area.endRow || area.endRow > height || to.data == nullptr ||
        to.bytesPerPixel != bytesPerPixel || to.width < area.endColumn - area.firstColumn ||
        to.height < area.endRow - area.firstRow || to.stride <= 0) {
        return false;
    }
    const UINT rows = area.endRow - area.firstRow;
    const std::uint64_t rowBytes = std::uint64_t{area.endColumn - area.firstColumn} * bytesPerPixel;
    const std::uint64_t size = static_cast<std::uint64_t>(to.stride) * (rows - 1) + rowBytes;
    if (static_cast<std::uint64_t>(to.stride) > UINT_MAX || size > UINT_MAX) {
        return false;
    }
    const WICRect rect{static_cast<INT>(area.firstColumn), static_cast<INT>(area.firstRow),
                       static_cast<INT>(area.endColumn - area.firstColumn), static_cast<INT>(rows)};
    if (FAILED(source.get()->CopyPixels(&rect, static_cast<UINT>(to.stride),
                                        static_cast<UINT>(size), to.data))) {
        return false;
    }
    // A conversion that fails leaves the pixels as decoded.
    toSrgb.Apply({to.data, static_cast<std::uint32_t>(rect.Width), rows, to.stride, bytesPerPixel});
    return true;
}

bool DecodedPicture::CopyAll(PixelView to) const {
    if (to.data == nullptr || to.width != width || to.height != height) {
        return false;
    }
    const std::uint32_t half = height / 2;
    const PixelView lower{to.Row(half), width, height - half, to.stride, to.bytesPerPixel};
    const auto lowerBytes = std::span(lower.Row(0), lower.Row(lower.height - 1) + lower.stride);
    const auto copyUpper = [&] { return half == 0 || Copy({0, width, 0, half}, to); };
    return WhileTouching(lowerBytes, copyUpper) && Copy({0, width, half, height}, lower);
}

std::optional<PictureBuffer> ReadPictureFile(const std::wstring& path,
                                             MapProblem& problem) noexcept {
    problem = MapProblem::tooLarge; // until the picture is held
    try {
        const MultithreadedApartment apartment;
        const DecodedPicture decoded(path);
        if (!decoded) {
            problem = decoded.Problem();
            return {};
        }
        PictureBuffer picture(decoded.Width(), decoded.Height(), decoded.ColourFormat(),
                              PictureBuffer::Start::toBeOverwritten);
        if (picture.Bitmap() == nullptr) {
            return {};
        }
        if (!decoded.CopyAll(picture.Pixels())) {
            problem = MapProblem::unreadable;
            return {};
        }
        problem = MapProblem::none;
        return picture;
    } catch (const std::exception&) {
        return {};
    }
}
