#include "render/EncoderClsid.h"

#include <gdiplus.h>

#include <cwchar>
#include <new>
#include <vector>

int GetEncoderClsid(const wchar_t* mimeType, CLSID& clsid) noexcept {
    if (mimeType == nullptr) {
        return -1;
    }
    UINT count = 0;
    UINT bytes = 0;
    if (Gdiplus::DllExports::GdipGetImageEncodersSize(&count, &bytes) != Gdiplus::Ok ||
        bytes == 0) {
        return -1;
    }
    // The records sit at the start of the buffer, the strings they point to after them; a size
    // too small for the records it claims would have us read past the end.
    if (count == 0 || bytes / sizeof(Gdiplus::ImageCodecInfo) < count) {
        return -1;
    }
    std::vector<Gdiplus::ImageCodecInfo> buffer;
    try {
        buffer.resize((bytes + sizeof(Gdiplus::ImageCodecInfo) - 1) /
                      sizeof(Gdiplus::ImageCodecInfo));
    } catch (const std::bad_alloc&) {
        return -1;
    }
    if (Gdiplus::DllExports::GdipGetImageEncoders(count, bytes, buffer.data()) != Gdiplus::Ok) {
        return -1;
    }
    for (UINT index = 0; index < count; ++index) {
        const wchar_t* encoderType = buffer[index].MimeType;
        if (encoderType != nullptr && std::wcscmp(encoderType, mimeType) == 0) {
            clsid = buffer[index].Clsid;
            return static_cast<int>(index);
        }
    }
    return -1;
}
