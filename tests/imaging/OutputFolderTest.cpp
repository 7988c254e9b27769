#include <gtest/gtest.h>

#include <shlobj.h>

#include <array>

#include "render/OutputFolder.h"
#include "tests/imaging/ImagingTestSupport.h"

namespace {

std::wstring LocalAppData() {
    std::array<wchar_t, MAX_PATH> folder{};
    EXPECT_EQ(
        SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder.data()),
        S_OK);
    return folder.data();
}

bool FolderExists(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Starts from a profile where neither sub-folder exists. The folder is this prefix's own.
void RemoveOutputFolders(const std::wstring& company, const std::wstring& product) {
    for (const wchar_t* name :
         {L"Pembrix Gloamery Current Image.bmp", L"Pembrix Gloamery Terminator Image.bmp"}) {
        DeleteFileW((product + L"\\" + name).c_str());
    }
    RemoveDirectoryW(product.c_str());
    RemoveDirectoryW(company.c_str());
    ASSERT_FALSE(FolderExists(company)) << "output folder holds files of its own";
}

TEST(MakeOutputPath, CreatesBothSubFoldersAndNamesTheFileInThem) {
    const std::wstring company = LocalAppData() + L"\\Pembrix Software";
    const std::wstring product = company + L"\\Gloamery";
    RemoveOutputFolders(company, product);

    EXPECT_EQ(MakeOutputPath(L"Pembrix Gloamery Terminator Image.bmp"),
              product + L"\\Pembrix Gloamery Terminator Image.bmp");
    EXPECT_TRUE(FolderExists(company));
    EXPECT_TRUE(FolderExists(product));

    // Existing folders are used as they are.
    EXPECT_EQ(MakeOutputPath(L"other.bmp"), product + L"\\other.bmp");
    std::wstring folder;
    ASSERT_TRUE(GetOutputFolder(folder));
    EXPECT_EQ(folder, product);
}

TEST(MakeOutputPath, NameTooLongForAPathStaysABareFileName) {
    const std::wstring name(MAX_PATH - 10, L'n');
    EXPECT_EQ(MakeOutputPath(name), name);
}

} // namespace
