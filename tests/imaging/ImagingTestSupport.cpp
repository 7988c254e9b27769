#include "tests/imaging/ImagingTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

#include "render/DecodedPicture.h"
#include "render/GdiplusSession.h"

static const GdiplusSession session;

ScratchFolder::ScratchFolder() {
    static std::atomic<int> counter = 0;
    path = (std::filesystem::temp_directory_path() /
            (L"gloamery-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
             std::to_wstring(++counter)))
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

std::string BmpBytes(std::int32_t width, std::int32_t height, std::uint32_t dataBytes,
                     WORD bitCount) {
    constexpr DWORD kHeaders = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    const BITMAPFILEHEADER file{0x4D42, kHeaders + dataBytes, 0, 0, kHeaders}; // "BM"
    const BITMAPINFOHEADER info{sizeof info, width, height, 1, bitCount, BI_RGB, 0, 0, 0, 0, 0};
    std::string bytes(kHeaders + dataBytes, '\0');
    std::memcpy(bytes.data(), &file, sizeof file);
    std::memcpy(bytes.data() + sizeof file, &info, sizeof info);
    return bytes;
}

std::string BmpPicture(int width, int height,
                       const std::function<std::uint32_t(int, int)>& colourAt, WORD bitCount) {
    const int stride = (width * bitCount / 8 + 3) / 4 * 4; // rows are padded to four bytes
    std::string bytes = BmpBytes(width, height, stride * height, bitCount);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) { // rows bottom-up, channels from blue on
            const std::uint32_t colour = colourAt(x, y);
            std::memcpy(&bytes[54 + (height - 1 - y) * stride + x * bitCount / 8], &colour,
                        bitCount / 8);
        }
    }
    return bytes;
}

int LargestDifference(const ArgbBuffer& one, const ArgbBuffer& other) {
    if (one.width != other.width || one.height != other.height) {
        return 256;
    }
    int largest = 0;
    for (std::size_t i = 0; i < one.pixels.size(); ++i) {
        for (int shift = 0; shift < 32; shift += 8) {
            largest = std::max(largest, std::abs(int(one.pixels[i] >> shift & 0xFF) -
                                                 int(other.pixels[i] >> shift & 0xFF)));
        }
    }
    return largest;
}

std::wstring WindowsPath(const std::string& hostPath) {
    std::wstring path = L"Z:" + std::wstring(hostPath.begin(), hostPath.end());
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return path;
}

ArgbBuffer ReadPicture(const std::wstring& path) {
    MapProblem problem{};
    const std::optional<PictureBuffer> read = ReadPictureFile(path, problem);
    if (!read) {
        return {};
    }
    const PixelView view = read->Pixels();
    // Only a picture with an alpha channel keeps its own; the others are opaque.
    const std::uint32_t opaque = read->Format() == PixelFormat32bppARGB ? 0 : 0xFF000000u;
    ArgbBuffer picture(view.width, view.height);
    for (std::uint32_t y = 0; y < view.height; ++y) {
        for (std::uint32_t x = 0; x < view.width; ++x) {
            const std::uint8_t* pixel = view.Row(y) + x * view.bytesPerPixel;
            picture.pixels[std::size_t{y} * view.width + x] =
                opaque | (view.bytesPerPixel == 3 ? LoadArgb<3>(pixel) : LoadArgb<4>(pixel));
        }
    }
    return picture;
}

std::wstring DesktopSetting(const wchar_t* name) {
    wchar_t value[MAX_PATH] = {};
    DWORD bytes = sizeof value - sizeof(wchar_t);
    RegGetValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", name, RRF_RT_REG_SZ, nullptr, value,
                 &bytes);
    return value;
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
