#include "render/DecodedPicture.h"

#include <climits>
#include <exception>
#include <span>

#include "render/FirstTouch.h"

namespace {

// Formats with a palette, grey levels or 16 bits a pixel.
bool HasFewLevels(const WICPixelFormatGUID& format) {
    for (const GUID* few : {&GUID_WICPixelFormat1bppIndexed, &GUID_WICPixelFormat2bppIndexed,
                            &GUID_WICPixelFormat4bppIndexed, &GUID_WICPixelFormat8bppIndexed,
                            &GUID_WICPixelFormatBlackWhite, &GUID_WICPixelFormat2bppGray,
                            &GUID_WICPixelFormat4bppGray, &GUID_WICPixelFormat8bppGray,
                            &GUID_WICPixelFormat16bppGray, &GUID_WICPixelFormat16bppBGR555,
                            &GUID_WICPixelFormat16bppBGR565, &GUID_WICPixelFormat16bppBGRA5551}) {
        if (format == *few) {
            return true;
        }
    }
    return false;
}

bool HasNoAlpha(const WICPixelFormatGUID& format) {
    return format == GUID_WICPixelFormat32bppBGR || format == GUID_WICPixelFormat24bppRGB ||
           format == GUID_WICPixelFormat48bppRGB || format == GUID_WICPixelFormat48bppBGR;
}

} // namespace

DecodedPicture::DecodedPicture(const std::wstring& path) noexcept {
    UniqueCom<IWICImagingFactory> factory;
    UniqueCom<IWICBitmapFrameDecode> frame;
    WICPixelFormatGUID format{};
    UINT frameWidth = 0;
    UINT frameHeight = 0;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                IID_PPV_ARGS(factory.put()))) ||
        FAILED(factory.get()->CreateDecoderFromFilename(
            path.c_str(), nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand, decoder.put())) ||
        FAILED(decoder.get()->GetFrame(0, frame.put())) ||
        FAILED(frame.get()->GetSize(&frameWidth, &frameHeight)) ||
        FAILED(frame.get()->GetPixelFormat(&format)) || frameWidth == 0 || frameHeight == 0 ||
        frameWidth > INT_MAX / 4 || frameHeight > INT_MAX) {
        decoder.reset();
        return;
    }
    if (format == GUID_WICPixelFormat24bppBGR) {
        bytesPerPixel = 3;
        colourFormat = PixelFormat24bppRGB;
        source.reset(frame.release());
    } else if (FAILED(WICConvertBitmapSource(GUID_WICPixelFormat32bppBGRA, frame.get(),
                                             source.put()))) {
        source.reset();
        decoder.reset();
        return;
    } else {
        colourFormat = HasNoAlpha(format) ? PixelFormat32bppRGB : PixelFormat32bppARGB;
    }
    if (HasFewLevels(format)) {
        colourFormat = PixelFormatUndefined;
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
    return SUCCEEDED(source.get()->CopyPixels(&rect, static_cast<UINT>(to.stride),
                                              static_cast<UINT>(size), to.data));
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

std::optional<PictureBuffer> ReadPictureFile(const std::wstring& path) noexcept {
    try {
        const MultithreadedApartment apartment;
        const DecodedPicture decoded(path);
        if (!decoded) {
            return {};
        }
        const Gdiplus::PixelFormat format = decoded.ColourFormat() == PixelFormatUndefined
                                                ? PixelFormat32bppARGB
                                                : decoded.ColourFormat();
        PictureBuffer picture(decoded.Width(), decoded.Height(), format,
                              PictureBuffer::Start::toBeOverwritten);
        if (picture.Bitmap() == nullptr || !decoded.CopyAll(picture.Pixels())) {
            return {};
        }
        return picture;
    } catch (const std::exception&) {
        return {};
    }
}
