// The "..." buttons of the custom settings dialog, worked through the real open-file dialog:
// the main picture sets the noon column to its middle, the night picture does not, and a
// cancelled choice changes nothing.

#include "CustomDialogFixture.h"

namespace program_test {
namespace {

// Controls of the open-file dialog: its file-type list and its read-only box.
constexpr int kFileTypeList = 0x470;
constexpr int kReadOnlyBox = 0x410;

class CustomDialogBrowse : public CustomDialogTest {
protected:
    // Clicks a "..." button and waits for the open-file dialog it opens.
    static HWND OpenFileDialog(HWND custom, int browseButton) {
        if (!Click(custom, browseButton)) {
            return nullptr;
        }
        return WaitForOwnedDialog(custom);
    }

    // Chooses `path` with a "..." button; false when the file dialog did not come or go.
    static bool Browse(HWND custom, int browseButton, const std::wstring& path) {
        const HWND fileDialog = OpenFileDialog(custom, browseButton);
        return fileDialog && ChooseFileInDialog(fileDialog, path);
    }
};

// The file dialog hands back the path as the file system spells it, whose case may differ.
::testing::AssertionResult SamePath(const std::wstring& actual, const std::wstring& expected) {
    if (lstrcmpiW(actual.c_str(), expected.c_str()) == 0) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "the path is \"" << actual << "\", not \"" << expected << "\"";
}

TEST_F(CustomDialogBrowse, MainPictureSetsTheNoonColumnToItsMiddle) {
    const std::wstring even = pictures.File(L"even.bmp");
    const std::wstring odd = pictures.File(L"odd.bmp");
    ASSERT_TRUE(WriteTestBitmap(even, 2048, 4));
    ASSERT_TRUE(WriteTestBitmap(odd, 2047, 4));
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    const HWND custom = OpenCustomDialog();
    ASSERT_TRUE(custom);

    ASSERT_TRUE(Browse(custom, IDC_BROWSE_MAIN, even));
    EXPECT_TRUE(SamePath(ControlText(custom, IDC_MAIN_IMAGE), even));
    EXPECT_EQ(ControlText(custom, IDC_NOON_PIXEL), L"1024");

    ASSERT_TRUE(Browse(custom, IDC_BROWSE_MAIN, odd));
    EXPECT_TRUE(SamePath(ControlText(custom, IDC_MAIN_IMAGE), odd));
    EXPECT_EQ(ControlText(custom, IDC_NOON_PIXEL), L"1023");

    ASSERT_TRUE(PressOk(custom));
    EXPECT_TRUE(SamePath(ReadStringSetting(L"SrcImgPath").value_or(L""), odd));
    EXPECT_EQ(ReadDwordSetting(L"NoonUCTPixel"), 1023u);
}

TEST_F(CustomDialogBrowse, NightPictureLeavesTheNoonColumnAlone) {
    const std::wstring wide = pictures.File(L"wide night.bmp");
    ASSERT_TRUE(WriteTestBitmap(wide, 2048, 4));
    WriteSetting(L"Terminator", 1);
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    const HWND custom = OpenCustomDialog();
    ASSERT_TRUE(custom);
    ASSERT_TRUE(SetControlText(custom, IDC_NOON_PIXEL, L"77"));

    ASSERT_TRUE(Browse(custom, IDC_BROWSE_NIGHT, wide));
    EXPECT_TRUE(SamePath(ControlText(custom, IDC_NIGHT_IMAGE), wide));
    EXPECT_EQ(ControlText(custom, IDC_MAIN_IMAGE), dayPicture);
    EXPECT_EQ(ControlText(custom, IDC_NOON_PIXEL), L"77");

    ASSERT_TRUE(PressOk(custom));
    EXPECT_TRUE(SamePath(ReadStringSetting(L"Src2ImgPath").value_or(L""), wide));
    EXPECT_EQ(ReadDwordSetting(L"NoonUCTPixel"), 77u);
}

TEST_F(CustomDialogBrowse, CancelledFileDialogKeepsWhatWasTyped) {
    const std::wstring typed = pictures.File(L"typed.bmp");
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    const HWND custom = OpenCustomDialog();
    ASSERT_TRUE(custom);
    ASSERT_TRUE(SetControlText(custom, IDC_MAIN_IMAGE, typed));
    ASSERT_TRUE(SetControlText(custom, IDC_NOON_PIXEL, L"123"));

    const HWND fileDialog = OpenFileDialog(custom, IDC_BROWSE_MAIN);
    ASSERT_TRUE(fileDialog);
    // The typed path is where the file dialog starts; pictures are offered first and the
    // read-only box is hidden.
    EXPECT_NE(FileDialogFileName(fileDialog).find(L"typed.bmp"), std::wstring::npos);
    EXPECT_EQ(ControlText(fileDialog, kFileTypeList), L"Image Files (*.bmp;*.jpg;*.gif;*.png)");
    EXPECT_FALSE(IsControlVisible(fileDialog, kReadOnlyBox));
    ASSERT_TRUE(CancelDialog(fileDialog));

    EXPECT_EQ(ControlText(custom, IDC_MAIN_IMAGE), typed);
    EXPECT_EQ(ControlText(custom, IDC_NOON_PIXEL), L"123");
    ASSERT_TRUE(CancelDialog(custom));
}

TEST_F(CustomDialogBrowse, OverlongTypedPathStartsTheFileDialogCutShort) {
    const std::wstring overlong = L"C:\\" + std::wstring(400, L'x') + L".bmp";
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    const HWND custom = OpenCustomDialog();
    ASSERT_TRUE(custom);
    ASSERT_TRUE(SetControlText(custom, IDC_MAIN_IMAGE, overlong));

    const HWND fileDialog = OpenFileDialog(custom, IDC_BROWSE_MAIN);
    ASSERT_TRUE(fileDialog) << "no file dialog";
    const std::wstring offered = FileDialogFileName(fileDialog);
    EXPECT_LT(offered.size(), size_t{MAX_PATH});
    EXPECT_NE(overlong.find(offered), std::wstring::npos) << "not a piece of the typed path";
    ASSERT_TRUE(CancelDialog(fileDialog));
    EXPECT_EQ(ControlText(custom, IDC_MAIN_IMAGE), overlong);
    ASSERT_TRUE(CancelDialog(custom));
}

TEST_F(CustomDialogBrowse, FileThatIsNoPictureIsTakenWithoutMovingTheNoonColumn) {
    const std::wstring notPicture = pictures.File(L"not a picture.png");
    ASSERT_TRUE(WriteTextFile(notPicture, "This is text."));
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    const HWND custom = OpenCustomDialog();
    ASSERT_TRUE(custom);
    ASSERT_TRUE(SetControlText(custom, IDC_NOON_PIXEL, L"55"));

    ASSERT_TRUE(Browse(custom, IDC_BROWSE_MAIN, notPicture));
    EXPECT_TRUE(SamePath(ControlText(custom, IDC_MAIN_IMAGE), notPicture));
    EXPECT_EQ(ControlText(custom, IDC_NOON_PIXEL), L"55");
    EXPECT_EQ(FindOwnedDialog(custom), nullptr) << "a message was shown";
    ASSERT_TRUE(CancelDialog(custom));
}

// The preset styles look for the default maps in the current directory, which must not follow
// the folder that the file dialog visited.
TEST_F(CustomDialogBrowse, PresetStylesStillFindTheDefaultMapsAfterBrowsing) {
    const std::wstring elsewhere = pictures.File(L"elsewhere.bmp");
    ASSERT_TRUE(WriteTestBitmap(elsewhere, 64, 32));
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    const HWND custom = OpenCustomDialog();
    ASSERT_TRUE(custom);
    ASSERT_TRUE(Browse(custom, IDC_BROWSE_MAIN, elsewhere));
    ASSERT_TRUE(PressOk(custom));

    ASSERT_TRUE(Click(main, IDC_DAYTIME_THUMB));
    ASSERT_TRUE(WaitUntil([] { return ReadDwordSetting(L"Mode") == 1u; }));
    ASSERT_TRUE(FinishCurrentHandler(main));
    EXPECT_TRUE(SamePath(ReadStringSetting(L"SrcImgPath").value_or(L""),
                         ProgramFolder() + L"\\Earth by day - ocean ice.jpg"));
}

} // namespace
} // namespace program_test
