#include "render/GdiplusBitmapFile.h"

UniqueGdipBitmap LoadBitmapFromFile(const std::wstring& path) noexcept {
    UniqueGdipBitmap bitmap;
    const Gdiplus::GpStatus status =
        Gdiplus::DllExports::GdipCreateBitmapFromFileICM(path.c_str(), bitmap.put());
    if (status != Gdiplus::Ok) {
        // Whatever the failed call may have handed back is released here, not used.
        bitmap.reset();
    }
    return bitmap;
}
