#include <gtest/gtest.h>

#include "render/GdiplusBitmapFile.h"
#include "tests/imaging/ImagingTestSupport.h"

namespace {

TEST(LoadBitmapFromFile, LoadsSizeAndPixelsOfAPictureFile) {
    ScratchFolder folder;
    const std::wstring path = folder.File(L"picture.bmp");
    UniqueGdipBitmap written = MakeBitmap(5, 3, PixelFormat24bppRGB,
                                          [](int x, int y) { return Opaque(40 * x, 100 * y, 7); });
    WriteBmp(written.get(), path);

    UniqueGdipBitmap loaded = LoadBitmapFromFile(path);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(ImageWidth(loaded.get()), 5u);
    EXPECT_EQ(ImageHeight(loaded.get()), 3u);
    EXPECT_EQ(PixelAt(loaded.get(), 4, 2), Opaque(160, 200, 7));
}

TEST(LoadBitmapFromFile, GivesNothingForMissingEmptyOrForeignFiles) {
    ScratchFolder folder;
    EXPECT_FALSE(LoadBitmapFromFile(folder.File(L"missing.bmp")));
    EXPECT_FALSE(LoadBitmapFromFile(L""));

    const std::wstring text = folder.File(L"notes.bmp");
    WriteFileBytes(text, "this is not a picture");
    EXPECT_FALSE(LoadBitmapFromFile(text));

    const std::wstring truncated = folder.File(L"truncated.bmp");
    UniqueGdipBitmap written = MakeBitmap(8, 8, PixelFormat24bppRGB, [](int, int) { return 0; });
    WriteBmp(written.get(), truncated);
    WriteFileBytes(truncated, ReadFileBytes(truncated).substr(0, 20));
    EXPECT_FALSE(LoadBitmapFromFile(truncated));
}

} // namespace
