#include "tests/imaging/ImagingTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>

#include "render/EncoderClsid.h"
#include "render/GdiplusSession.h"

namespace {

// Every test executable that links these helpers runs with GDI+ started.
class GdiplusEnvironment : public testing::Environment {
public:
    void SetUp() override {
        session.emplace();
        ASSERT_TRUE(session->Started());
    }
    void TearDown() override { session.reset(); }

private:
    std::optional<GdiplusSession> session;
};

// gtest takes ownership of the environment.
const auto* const environment =
    testing::AddGlobalTestEnvironment(std::make_unique<GdiplusEnvironment>().release());

struct FindTraits {
    using Handle = HANDLE;
    static Handle invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void close(Handle search) noexcept { FindClose(search); }
};

} // namespace

ScratchFolder::ScratchFolder() {
    std::array<wchar_t, MAX_PATH + 1> temp{};
    const DWORD length = GetTempPathW(MAX_PATH, temp.data());
    EXPECT_GT(length, 0u);
    static LONG counter = 0;
    path = std::wstring(temp.data()) + L"gloamery-test-" + std::to_wstring(GetCurrentProcessId()) +
           L"-" + std::to_wstring(InterlockedIncrement(&counter));
    EXPECT_TRUE(CreateDirectoryW(path.c_str(), nullptr));
}

ScratchFolder::~ScratchFolder() {
    for (const std::wstring& name : Entries()) {
        const std::wstring entry = File(name);
        if (!DeleteFileW(entry.c_str())) {
            RemoveDirectoryW(entry.c_str());
        }
    }
    RemoveDirectoryW(path.c_str());
}

std::vector<std::wstring> ScratchFolder::Entries() const {
    return FolderEntries(path);
}

std::vector<std::wstring> FolderEntries(const std::wstring& path) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found{};
    const Unique<FindTraits> search(FindFirstFileW((path + L"\\*").c_str(), &found));
    if (!search) {
        return names;
    }
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..") {
            names.push_back(name);
        }
    } while (FindNextFileW(search.get(), &found));
    std::sort(names.begin(), names.end());
    return names;
}

UniqueGdipBitmap MakeBitmap(int width, int height, Gdiplus::PixelFormat format,
                            const std::function<Gdiplus::ARGB(int x, int y)>& colourAt) {
    using namespace Gdiplus::DllExports;
    // Filled as 32-bit ARGB, then converted by drawing into the requested format.
    UniqueGdipBitmap argb;
    EXPECT_EQ(
        GdipCreateBitmapFromScan0(width, height, 0, PixelFormat32bppARGB, nullptr, argb.put()),
        Gdiplus::Ok);
    Gdiplus::Rect all(0, 0, width, height);
    Gdiplus::BitmapData data{};
    EXPECT_EQ(GdipBitmapLockBits(argb.get(), &all, Gdiplus::ImageLockModeWrite,
                                 PixelFormat32bppARGB, &data),
              Gdiplus::Ok);
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<Gdiplus::ARGB*>(static_cast<BYTE*>(data.Scan0) +
                                                     static_cast<ptrdiff_t>(y) * data.Stride);
        for (int x = 0; x < width; ++x) {
            row[x] = colourAt(x, y);
        }
    }
    EXPECT_EQ(GdipBitmapUnlockBits(argb.get(), &data), Gdiplus::Ok);
    if (format == PixelFormat32bppARGB) {
        return argb;
    }
    UniqueGdipBitmap converted;
    EXPECT_EQ(GdipCloneBitmapAreaI(0, 0, width, height, format, argb.get(), converted.put()),
              Gdiplus::Ok);
    return converted;
}

void WriteBmp(Gdiplus::GpImage* image, const std::wstring& path) {
    CLSID bmp{};
    ASSERT_GE(GetEncoderClsid(L"image/bmp", bmp), 0);
    ASSERT_EQ(Gdiplus::DllExports::GdipSaveImageToFile(image, path.c_str(), &bmp, nullptr),
              Gdiplus::Ok);
}

Gdiplus::ARGB PixelAt(Gdiplus::GpBitmap* bitmap, int x, int y) {
    Gdiplus::ARGB colour = 0;
    EXPECT_EQ(Gdiplus::DllExports::GdipBitmapGetPixel(bitmap, x, y, &colour), Gdiplus::Ok)
        << "at " << x << ", " << y;
    return colour;
}

UINT ImageWidth(Gdiplus::GpImage* image) {
    UINT width = 0;
    EXPECT_EQ(Gdiplus::DllExports::GdipGetImageWidth(image, &width), Gdiplus::Ok);
    return width;
}

UINT ImageHeight(Gdiplus::GpImage* image) {
    UINT height = 0;
    EXPECT_EQ(Gdiplus::DllExports::GdipGetImageHeight(image, &height), Gdiplus::Ok);
    return height;
}

bool FileExists(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
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
