#include <gtest/gtest.h>

#include <shlobj.h>

#include <array>
#include <filesystem>

#include "render/OutputFolder.h"
#include "tests/imaging/ImagingTestSupport.h"

namespace {

// The folder is this prefix's own: the test starts with neither sub-folder there.
TEST(MakeOutputPath, CreatesBothSubFoldersAndNamesTheFileInThem) {
    std::array<wchar_t, MAX_PATH> localAppData{};
    ASSERT_EQ(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT,
                               localAppData.data()),
              S_OK);
    const std::wstring company = std::wstring(localAppData.data()) + L"\\Pembrix Software";
    const std::wstring product = company + L"\\Gloamery";
    for (const wchar_t* name :
         {L"Pembrix Gloamery Current Image.bmp", L"Pembrix Gloamery Terminator Image.bmp"}) {
        DeleteFileW((product + L"\\" + name).c_str());
    }
    RemoveDirectoryW(product.c_str());
    RemoveDirectoryW(company.c_str());
    ASSERT_FALSE(std::filesystem::exists(company)) << "output folder holds files of its own";

    EXPECT_EQ(MakeOutputPath(L"Pembrix Gloamery Terminator Image.bmp"),
              product + L"\\Pembrix Gloamery Terminator Image.bmp");
    EXPECT_TRUE(std::filesystem::is_directory(product));
    // Existing folders are used as they are.
    EXPECT_EQ(MakeOutputPath(L"other.bmp"), product + L"\\other.bmp");
    // A name too long for a path in the folder stays a bare file name.
    const std::wstring longName(MAX_PATH - 10, L'n');
    EXPECT_EQ(MakeOutputPath(longName), longName);
}

} // namespace
