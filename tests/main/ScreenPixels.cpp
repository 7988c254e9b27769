#include "ScreenPixels.h"

#include <vector>

#include "win/Handles.h"

namespace program_test {

namespace {

struct ScreenDcTraits {
    using Handle = HDC;
    static Handle invalid() noexcept { return nullptr; }
    static void close(Handle dc) noexcept { ReleaseDC(nullptr, dc); }
};

struct MemoryDcTraits {
    using Handle = HDC;
    static Handle invalid() noexcept { return nullptr; }
    static void close(Handle dc) noexcept { DeleteDC(dc); }
};

} // namespace

int CountRedPixels(HWND window) {
    RECT area;
    if (!GetWindowRect(window, &area)) {
        return -1;
    }
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    if (width <= 0 || height <= 0) {
        return -1;
    }
    Unique<ScreenDcTraits> screen(GetDC(nullptr));
    Unique<MemoryDcTraits> memory(CreateCompatibleDC(screen.get()));
    UniqueBitmap copy(CreateCompatibleBitmap(screen.get(), width, height));
    if (!screen || !memory || !copy) {
        return -1;
    }
    const HGDIOBJ previous = SelectObject(memory.get(), copy.get());
    BitBlt(memory.get(), 0, 0, width, height, screen.get(), area.left, area.top, SRCCOPY);
    SelectObject(memory.get(), previous);

    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = width;
    format.bmiHeader.biHeight = -height;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    std::vector<RGBQUAD> pixels(static_cast<size_t>(width) * height);
    if (GetDIBits(memory.get(), copy.get(), 0, height, pixels.data(), &format, DIB_RGB_COLORS) !=
        height) {
        return -1;
    }
    int red = 0;
    for (const RGBQUAD& pixel : pixels) {
        if (pixel.rgbRed > 170 && pixel.rgbGreen < 90 && pixel.rgbBlue < 90) {
            ++red;
        }
    }
    return red;
}

} // namespace program_test
