// The imaging layer against GDI+, the shell and the file system.
#include <gtest/gtest.h>

#include <shlobj.h>

#include <array>
#include <filesystem>
#include <tuple>

#include "render/EncoderClsid.h"
#include "render/GdiplusBitmapFile.h"
#include "render/OutputFolder.h"
#include "render/SaveImageFile.h"
#include "tests/imaging/ImagingTestSupport.h"

namespace {

// Each encoder by its exact MIME type, case included.
TEST(GetEncoderClsid, FindsEachEncoderByItsExactMimeType) {
    CLSID bmp{}, png{}, none{};
    EXPECT_GE(GetEncoderClsid(L"image/bmp", bmp), 0);
    EXPECT_GE(GetEncoderClsid(L"image/png", png), 0);
    EXPECT_FALSE(IsEqualCLSID(bmp, png));
    for (const wchar_t* mimeType : {L"IMAGE/BMP", L"image/bm", L"image/bmp ", L""}) {
        EXPECT_EQ(GetEncoderClsid(mimeType, none), -1) << mimeType;
    }
}

// A new file and then one over it; failures leave the earlier file and no temporary file.
TEST(SaveImageReplacing, ReplacesTheFileOrLeavesItAlone) {
    ScratchFolder folder;
    const std::wstring path = folder.File(L"wallpaper.bmp");
    const std::wstring occupied = folder.File(L"occupied.bmp"); // a folder can't become a file
    ASSERT_TRUE(CreateDirectoryW(occupied.c_str(), nullptr));
    const UniqueGdipBitmap picture = LoadBitmapFromFile(TestMap("day.png"));
    CLSID bmp{};
    ASSERT_GE(GetEncoderClsid(L"image/bmp", bmp), 0);
    WriteFileBytes(path, "an earlier update");
    for (const auto& [image, target, encoder] :
         {std::tuple{picture.get(), path, CLSID{}},
          {nullptr, path, bmp},
          {picture.get(), occupied, bmp},
          {picture.get(), folder.File(L"absent\\w.bmp"), bmp}}) {
        EXPECT_FALSE(SaveImageReplacing(image, target, encoder)) << target;
    }
    EXPECT_EQ(ReadFileBytes(path), "an earlier update");
    ASSERT_TRUE(SaveImageReplacing(picture.get(), path, bmp));
    EXPECT_EQ(ReadPicture(path).width, 48u);
    // The folder holds what it held and the new file: no temporary file is left.
    const auto entries = std::filesystem::directory_iterator(folder.File(L"."));
    EXPECT_EQ(std::distance(begin(entries), end(entries)), 2);
}

// Maps with a wide-gamut profile read as the sRGB picture they show, as ImageMagick's colour
// management works it out (make-test-maps.sh): from PNG, whose decoder reports the profile, and
// from JPEG, whose profile the program finds in the file. A profile named sRGB, a damaged one or
// none leave the pixels as decoded. File, the picture it reads as, how far it may stray.
TEST(ReadPictureFile, ConvertsEmbeddedProfilesToSrgb) {
    const std::tuple<const char*, const char*, int> cases[] = {
        {"colours-wide.png", "colours-as-srgb.png", 3},
        {"colours-wide.jpg", "colours-as-srgb.png", 3},
        {"colours-srgb.png", "colours.png", 0},
        {"colours-srgb.jpg", "colours.png", 2},
        {"colours-damaged.jpg", "colours.png", 2},
        {"colours.jpg", "colours.png", 2}};
    for (const auto& [file, shown, stray] : cases) {
        EXPECT_LE(LargestDifference(ReadPicture(TestMap(file)), ReadPicture(TestMap(shown))), stray)
            << file;
    }
}

// The folder is this prefix's own: the test starts with neither sub-folder there. A name too
// long for a path in the folder stays a bare file name.
TEST(MakeOutputPath, CreatesBothSubFoldersAndNamesTheFileInThem) {
    std::array<wchar_t, MAX_PATH> localAppData{};
    ASSERT_EQ(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT,
                               localAppData.data()),
              S_OK);
    const std::wstring company = std::wstring(localAppData.data()) + L"\\Pembrix Software";
    std::filesystem::remove_all(company);
    EXPECT_EQ(MakeOutputPath(L"a.bmp"), company + L"\\Gloamery\\a.bmp");
    EXPECT_TRUE(std::filesystem::is_directory(company + L"\\Gloamery"));
    const std::wstring longName(MAX_PATH - 10, L'n');
    EXPECT_EQ(MakeOutputPath(longName), longName);
}

} // namespace
