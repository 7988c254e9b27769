#include <gtest/gtest.h>

#include "render/EncoderClsid.h"
#include "render/GdiplusBitmapFile.h"
#include "render/SaveImageFile.h"
#include "tests/imaging/ImagingTestSupport.h"

namespace {

// No encoder has this class identifier.
constexpr CLSID kNoSuchEncoder = {
    0x0badc0de, 0x0000, 0x0000, {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01}};

class SaveImageReplacingTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_GE(GetEncoderClsid(L"image/bmp", bmp), 0); }

    static UniqueGdipBitmap Picture(int width, Gdiplus::ARGB colour) {
        return MakeBitmap(width, 4, PixelFormat24bppRGB, [colour](int, int) { return colour; });
    }

    ScratchFolder folder;
    CLSID bmp{};
};

TEST_F(SaveImageReplacingTest, WritesANewFileAndLeavesNoTemporary) {
    UniqueGdipBitmap picture = Picture(6, Opaque(10, 20, 30));
    const std::wstring path = folder.File(L"wallpaper.bmp");
    ASSERT_TRUE(SaveImageReplacing(picture.get(), path, bmp));

    EXPECT_EQ(folder.Entries(), std::vector<std::wstring>{L"wallpaper.bmp"});
    UniqueGdipBitmap loaded = LoadBitmapFromFile(path);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(ImageWidth(loaded.get()), 6u);
    EXPECT_EQ(PixelAt(loaded.get(), 5, 3), Opaque(10, 20, 30));
}

TEST_F(SaveImageReplacingTest, ReplacesAnEarlierFile) {
    const std::wstring path = folder.File(L"wallpaper.bmp");
    WriteFileBytes(path, "an earlier update");
    UniqueGdipBitmap picture = Picture(7, Opaque(200, 100, 0));
    ASSERT_TRUE(SaveImageReplacing(picture.get(), path, bmp));

    EXPECT_EQ(folder.Entries(), std::vector<std::wstring>{L"wallpaper.bmp"});
    UniqueGdipBitmap loaded = LoadBitmapFromFile(path);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(ImageWidth(loaded.get()), 7u);
    EXPECT_EQ(PixelAt(loaded.get(), 0, 0), Opaque(200, 100, 0));
}

TEST_F(SaveImageReplacingTest, FailedEncodingLeavesTheEarlierFileUntouched) {
    const std::wstring path = folder.File(L"wallpaper.bmp");
    UniqueGdipBitmap earlier = Picture(3, Opaque(1, 2, 3));
    WriteBmp(earlier.get(), path);
    const std::string before = ReadFileBytes(path);

    UniqueGdipBitmap picture = Picture(9, Opaque(9, 9, 9));
    EXPECT_FALSE(SaveImageReplacing(picture.get(), path, kNoSuchEncoder));
    EXPECT_EQ(ReadFileBytes(path), before);
    EXPECT_EQ(folder.Entries(), std::vector<std::wstring>{L"wallpaper.bmp"});
}

TEST_F(SaveImageReplacingTest, DestinationThatCannotBeReplacedKeepsItAndCleansUp) {
    // A folder at the destination can't be replaced by a file.
    const std::wstring path = folder.File(L"occupied.bmp");
    ASSERT_TRUE(CreateDirectoryW(path.c_str(), nullptr));
    UniqueGdipBitmap picture = Picture(2, Opaque(5, 5, 5));
    EXPECT_FALSE(SaveImageReplacing(picture.get(), path, bmp));

    EXPECT_EQ(GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY,
              DWORD{FILE_ATTRIBUTE_DIRECTORY});
    EXPECT_EQ(folder.Entries(), std::vector<std::wstring>{L"occupied.bmp"});
}

TEST_F(SaveImageReplacingTest, MissingFolderOrNoImageWritesNothing) {
    UniqueGdipBitmap picture = Picture(2, Opaque(5, 5, 5));
    const std::wstring missing = folder.File(L"absent");
    EXPECT_FALSE(SaveImageReplacing(picture.get(), missing + L"\\wallpaper.bmp", bmp));
    EXPECT_EQ(GetFileAttributesW(missing.c_str()), INVALID_FILE_ATTRIBUTES);

    EXPECT_FALSE(SaveImageReplacing(nullptr, folder.File(L"wallpaper.bmp"), bmp));
    EXPECT_FALSE(SaveImageReplacing(picture.get(), L"", bmp));
    EXPECT_TRUE(folder.Entries().empty());
}

TEST_F(SaveImageReplacingTest, PathLongerThanMaxPathIsRefused) {
    UniqueGdipBitmap picture = Picture(2, Opaque(5, 5, 5));
    const std::wstring path = folder.File(std::wstring(MAX_PATH, L'x') + L".bmp");
    EXPECT_FALSE(SaveImageReplacing(picture.get(), path, bmp));
    EXPECT_TRUE(folder.Entries().empty());
}

} // namespace
