#include "tests/imaging/ImagingTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "render/EncoderClsid.h"
#include "render/GdiplusSession.h"

namespace {

// Every test executable that links these helpers runs with GDI+ started.
const GdiplusSession session;

} // namespace

ScratchFolder::ScratchFolder() {
    static std::atomic<int> counter = 0;
    path = (std::filesystem::temp_directory_path() /
            ("gloamery-test-" + std::to_string(GetCurrentProcessId()) + "-" +
             std::to_string(++counter)))
               .wstring();
    // A folder of an earlier process with the same id may be left over: Wine's GDI+ keeps files
    // it failed to decode open until the process ends.
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
    EXPECT_TRUE(std::filesystem::create_directory(path));
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}

std::vector<std::wstring> FolderEntries(const std::wstring& path) {
    std::vector<std::wstring> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(path, error)) {
        names.push_back(entry.path().filename().wstring());
    }
    std::sort(names.begin(), names.end());
    return names;
}

UniqueGdipBitmap MakeBitmap(int width, int height, Gdiplus::PixelFormat format,
                            const ColourAt& colourAt) {
    std::vector<Gdiplus::ARGB> pixels;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            pixels.push_back(colourAt(x, y));
        }
    }
    // The first bitmap only borrows the pixels; its copy in the requested format owns its own.
    using namespace Gdiplus::DllExports;
    UniqueGdipBitmap borrowing;
    EXPECT_EQ(GdipCreateBitmapFromScan0(width, height, width * 4, PixelFormat32bppARGB,
                                        reinterpret_cast<BYTE*>(pixels.data()), borrowing.put()),
              Gdiplus::Ok);
    UniqueGdipBitmap bitmap;
    EXPECT_EQ(GdipCloneBitmapAreaI(0, 0, width, height, format, borrowing.get(), bitmap.put()),
              Gdiplus::Ok);
    return bitmap;
}

void WritePicture(const std::wstring& path, int width, int height, Gdiplus::PixelFormat format,
                  const wchar_t* mimeType, const ColourAt& colourAt) {
    const UniqueGdipBitmap bitmap = MakeBitmap(width, height, format, colourAt);
    CLSID encoder{};
    ASSERT_GE(GetEncoderClsid(mimeType, encoder), 0);
    ASSERT_EQ(
        Gdiplus::DllExports::GdipSaveImageToFile(bitmap.get(), path.c_str(), &encoder, nullptr),
        Gdiplus::Ok);
}

std::string BmpBytes(std::int32_t width, std::int32_t height, std::uint32_t dataBytes) {
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    file.bfType = 0x4D42; // "BM"
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + dataBytes;
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    std::string bytes(file.bfOffBits + dataBytes, '\0');
    std::memcpy(bytes.data(), &file, sizeof file);
    std::memcpy(bytes.data() + sizeof file, &info, sizeof info);
    return bytes;
}

Gdiplus::ARGB PixelAt(Gdiplus::GpBitmap* bitmap, int x, int y) {
    Gdiplus::ARGB colour = 0;
    EXPECT_EQ(Gdiplus::DllExports::GdipBitmapGetPixel(bitmap, x, y, &colour), Gdiplus::Ok)
        << "at " << x << ", " << y;
    return colour;
}

ImageSize SizeOf(Gdiplus::GpImage* image) {
    ImageSize size;
    EXPECT_EQ(Gdiplus::DllExports::GdipGetImageWidth(image, &size.first), Gdiplus::Ok);
    EXPECT_EQ(Gdiplus::DllExports::GdipGetImageHeight(image, &size.second), Gdiplus::Ok);
    return size;
}

bool FileExists(const std::wstring& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

std::string ReadFileBytes(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFileBytes(const std::wstring& path, const std::string& bytes) {
    std::ofstream out(path.c_str(), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out.good());
}
