#include "render/ColourProfile.h"

#include <cstdint>
#include <exception>
#include <vector>

#include "render/core/EmbeddedProfile.h"
#include "win/Handles.h"

namespace {

// LCS_sRGB, which the headers spell as the multi-character constant 'sRGB'.
constexpr DWORD kSrgbColourSpace = 0x73524742;
// Far more than any real profile; a larger one is not read.
constexpr UINT kMaxProfileBytes = 4u << 20;

struct ProfileTraits {
    using Handle = HPROFILE;
    static Handle invalid() noexcept { return nullptr; }
    static void close(Handle profile) noexcept { CloseColorProfile(profile); }
};
using UniqueProfile = Unique<ProfileTraits>;

// The bytes of the first profile the decoder reports for the frame.
std::vector<std::uint8_t> ReportedProfile(IWICImagingFactory& factory,
                                          IWICBitmapFrameDecode& frame) {
    UINT count = 0;
    if (FAILED(frame.GetColorContexts(0, nullptr, &count)) || count == 0 || count > 16) {
        return {};
    }
    std::vector<UniqueCom<IWICColorContext>> owners(count);
    std::vector<IWICColorContext*> contexts(count);
    for (UINT i = 0; i < count; ++i) {
        if (FAILED(factory.CreateColorContext(owners[i].put()))) {
            return {};
        }
        contexts[i] = owners[i].get();
    }
    if (FAILED(frame.GetColorContexts(count, contexts.data(), &count))) {
        return {};
    }
    for (IWICColorContext* context : contexts) {
        WICColorContextType type{};
        UINT size = 0;
        if (FAILED(context->GetType(&type)) || type != WICColorContextProfile ||
            FAILED(context->GetProfileBytes(0, nullptr, &size)) || size == 0 ||
            size > kMaxProfileBytes) {
            continue;
        }
        std::vector<std::uint8_t> bytes(size);
        if (SUCCEEDED(context->GetProfileBytes(size, bytes.data(), &size)) &&
            size == bytes.size()) {
            return bytes;
        }
    }
    return {};
}

// The profile in a JPEG file's own segments.
std::vector<std::uint8_t> JpegFileProfile(const std::wstring& path) {
    const UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) {
        return {};
    }
    return JpegEmbeddedProfile([&](std::uint64_t offset, std::span<std::uint8_t> to) {
        LARGE_INTEGER position{};
        position.QuadPart = static_cast<LONGLONG>(offset);
        DWORD read = 0;
        return offset <= INT64_MAX && to.size() <= MAXDWORD &&
               SetFilePointerEx(file.get(), position, nullptr, FILE_BEGIN) &&
               ReadFile(file.get(), to.data(), static_cast<DWORD>(to.size()), &read, nullptr) &&
               read == to.size();
    });
}

UniqueProfile OpenProfile(PROFILE& where) {
    return UniqueProfile(OpenColorProfileW(&where, PROFILE_READ, FILE_SHARE_READ, OPEN_EXISTING));
}

} // namespace

ColourConversion::ColourConversion(IWICImagingFactory& factory, IWICBitmapDecoder& decoder,
                                   IWICBitmapFrameDecode& frame,
                                   const std::wstring& path) noexcept {
    try {
        std::vector<std::uint8_t> embedded = ReportedProfile(factory, frame);
        GUID container{};
        if (embedded.empty() && SUCCEEDED(decoder.GetContainerFormat(&container)) &&
            container == GUID_ContainerFormatJpeg) {
            embedded = JpegFileProfile(path);
        }
        const ProfileKind kind = KindOfProfile(embedded);
        if (!kind.rgb || kind.srgb) {
            return;
        }
        PROFILE source{PROFILE_MEMBUFFER, embedded.data(), static_cast<DWORD>(embedded.size())};
        wchar_t srgbPath[MAX_PATH] = {};
        DWORD srgbBytes = sizeof srgbPath;
        if (!GetStandardColorSpaceProfileW(nullptr, kSrgbColourSpace, srgbPath, &srgbBytes)) {
            return;
        }
        srgbPath[MAX_PATH - 1] = L'\0'; // a path that fills the buffer is not trusted to end
        PROFILE target{PROFILE_FILENAME, srgbPath,
                       static_cast<DWORD>((wcslen(srgbPath) + 1) * sizeof(wchar_t))};
        const UniqueProfile profiles[] = {OpenProfile(source), OpenProfile(target)};
        if (!profiles[0] || !profiles[1]) {
            return;
        }
        HPROFILE handles[] = {profiles[0].get(), profiles[1].get()};
        DWORD intents[] = {INTENT_PERCEPTUAL, INTENT_PERCEPTUAL};
        transform.reset(
            CreateMultiProfileTransform(handles, 2, intents, 2, BEST_MODE, INDEX_DONT_CARE));
    } catch (const std::exception&) {
        transform.reset();
    }
}

bool ColourConversion::Apply(PixelView pixels) const noexcept {
    if (!transform || pixels.data == nullptr || pixels.stride <= 0 ||
        static_cast<std::uint64_t>(pixels.stride) > MAXDWORD) {
        return false;
    }
    // The DIB byte orders: blue, green, red (and alpha, which passes through).
    const BMFORMAT format = pixels.bytesPerPixel == 3 ? BM_RGBTRIPLETS : BM_xRGBQUADS;
    const auto stride = static_cast<DWORD>(pixels.stride);
    return TranslateBitmapBits(transform.get(), pixels.data, format, pixels.width, pixels.height,
                               stride, pixels.data, format, stride, nullptr, 0);
}
