// The custom settings dialog, opened with "&Edit" in the running program and worked as a user
// works it, down to the real open-file dialog.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <thread>

#include "ProgramDriver.h"
#include "ui/ResourceIds.h"
#include "win/DataExchange.h"

namespace program_test {
namespace {

// The program in the custom style with small pictures of its own, so that updates are quick.
class CustomDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(WriteTestBitmap(dayPicture, 64, 32));
        ASSERT_TRUE(WriteTestBitmap(nightPicture, 64, 32));
        DeleteProgramSettings();
        DeleteOutputFiles();
        WriteSettings({dayPicture, nightPicture, 32, 15, 0, 0, 0, 4});
    }

    void TearDown() override {
        if (program && !HasFailure()) {
            EXPECT_EQ(program->Close(), 0u) << "the program did not close cleanly";
        }
        program.reset();
        DeleteProgramSettings();
    }

    void StartProgram() {
        program.emplace();
        ASSERT_TRUE(program->Started());
        main = program->WaitForWindow(kMainDialogTitle);
        ASSERT_TRUE(main) << "no main dialog";
    }

    // Until an update has written the wallpaper and "&Update Now" is back in place of the bar.
    bool WaitForUpdateToEnd() const {
        return WaitUntil([this] {
            return FileExists(OutputFile(kCurrentImageFile)) &&
                   IsControlVisible(main, IDC_UPDATE_NOW) && !IsControlVisible(main, IDC_PROGRESS);
        });
    }

    HWND OpenCustomDialog() const {
        return Click(main, IDC_EDIT_CUSTOM) ? program->WaitForWindow(kCustomDialogTitle) : nullptr;
    }

    static bool PressOk(HWND custom) { return Click(custom, IDOK) && WaitUntilGone(custom); }

    // Clicks the message box about a bad number away; false when none came.
    static bool DismissBadNumberMessage(HWND custom) {
        const HWND box = WaitForOwnedDialog(custom);
        EXPECT_EQ(MessageBoxText(box), kBadNumberMessage);
        return box && Click(box, IDOK) && WaitUntilGone(box);
    }

    ScratchFolder pictures;
    const std::wstring dayPicture = pictures.File(L"day.bmp");
    const std::wstring nightPicture = pictures.File(L"night.bmp");
    std::optional<ProgramProcess> program;
    HWND main = nullptr;
};

using CustomDialog = CustomDialogTest;

TEST_F(CustomDialog, EditIsAvailableOnlyInTheCustomStyle) {
    WriteSettings({.mode = 1});
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    EXPECT_FALSE(Click(main, IDC_EDIT_CUSTOM));

    ASSERT_TRUE(Click(main, IDC_CUSTOM_THUMB));
    ASSERT_TRUE(WaitUntil([this] { return IsControlEnabled(main, IDC_EDIT_CUSTOM); }));
    const HWND custom = OpenCustomDialog();
    ASSERT_TRUE(custom);
    EXPECT_FALSE(IsWindowEnabled(main)) << "the main dialog takes clicks under the custom one";
    // The dialog asks for its own help topic, so the viewer belongs to it.
    ASSERT_TRUE(Click(custom, ID_HELP));
    const HWND viewer = program->WaitForWindow(L"Pembrix Gloamery Help");
    ASSERT_TRUE(viewer) << "no help viewer";
    EXPECT_EQ(GetWindow(viewer, GW_OWNER), custom);
    ASSERT_TRUE(CancelDialog(custom));
    EXPECT_TRUE(WaitUntil([this] { return IsWindowEnabled(main); }));

    ASSERT_TRUE(Click(main, IDC_DAYTIME_THUMB));
    EXPECT_TRUE(WaitUntil([this] { return !IsControlEnabled(main, IDC_EDIT_CUSTOM); }));
}

// Every bit set shows as an unsigned number and is stored back unchanged.
TEST_F(CustomDialog, ShowsTheStoredValuesAndOkStoresThemBack) {
    WriteSettings({dayPicture, nightPicture, 0xFFFFFFFFu, 0xFFFFFFFFu, 1, 1, 1, 4});
    StoredSettings expected = ReadStoredSettings();
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    const HWND custom = OpenCustomDialog();
    ASSERT_TRUE(custom);
    EXPECT_EQ(ControlText(custom, IDC_MAIN_IMAGE), dayPicture);
    EXPECT_EQ(ControlText(custom, IDC_NIGHT_IMAGE), nightPicture);
    EXPECT_EQ(ControlText(custom, IDC_NOON_PIXEL), L"4294967295");
    EXPECT_EQ(ControlText(custom, IDC_UPDATE_FREQ), L"4294967295");
    for (const int box : {IDC_DISABLED, IDC_NO_BOOT_UPDATE, IDC_TERMINATOR}) {
        EXPECT_TRUE(IsChecked(custom, box)) << box;
    }
    EXPECT_TRUE(IsControlEnabled(custom, IDC_NIGHT_IMAGE));
    ASSERT_TRUE(Click(custom, IDC_DISABLED)); // so that OK has something to store
    ASSERT_TRUE(WaitUntil([custom] { return !IsChecked(custom, IDC_DISABLED); }));
    ASSERT_TRUE(PressOk(custom));
    expected.disabled = 0;
    EXPECT_EQ(ReadStoredSettings(), expected);
}

TEST_F(CustomDialog, NightControlsFollowTheCheckBox) {
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    const HWND custom = OpenCustomDialog();
    ASSERT_TRUE(custom);
    const auto nightControlsEnabled = [custom](bool enabled) {
        return WaitUntil([=] {
            return IsControlEnabled(custom, IDC_NIGHT_IMAGE) == enabled &&
                   IsControlEnabled(custom, IDC_BROWSE_NIGHT) == enabled;
        });
    };
    EXPECT_TRUE(nightControlsEnabled(false));
    ASSERT_TRUE(Click(custom, IDC_TERMINATOR));
    EXPECT_TRUE(nightControlsEnabled(true));
    ASSERT_TRUE(PressKeys(custom, {VK_MENU, 'C'}));
    EXPECT_TRUE(nightControlsEnabled(false));
    EXPECT_FALSE(IsChecked(custom, IDC_TERMINATOR));

    // The box is read before the bad number stops the reading of the fields.
    ASSERT_TRUE(SetControlText(custom, IDC_UPDATE_FREQ, L"abc"));
    ASSERT_TRUE(Click(custom, IDC_TERMINATOR));
    ASSERT_TRUE(DismissBadNumberMessage(custom));
    EXPECT_TRUE(nightControlsEnabled(true));
    ASSERT_TRUE(CancelDialog(custom));
}

TEST_F(CustomDialog, OkWithABadNumberKeepsTheDialogOpenAndStoresNothing) {
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    const StoredSettings before = ReadStoredSettings();
    const HWND custom = OpenCustomDialog();
    ASSERT_TRUE(custom);
    ASSERT_TRUE(SetControlText(custom, IDC_UPDATE_FREQ, L"abc"));
    ASSERT_TRUE(Click(custom, IDOK));
    ASSERT_TRUE(DismissBadNumberMessage(custom));
    EXPECT_TRUE(IsWindowVisible(custom));
    EXPECT_EQ(ReadStoredSettings(), before);

    ASSERT_TRUE(SetControlText(custom, IDC_UPDATE_FREQ, L"30"));
    ASSERT_TRUE(PressOk(custom));
    EXPECT_EQ(ReadStoredSettings().updateFreqMins, 30u);
}

TEST_F(CustomDialog, OkStoresAllSevenValuesAndUpdatesUnlessDisabled) {
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    ASSERT_TRUE(WaitForUpdateToEnd()) << "the update at start did not end";
    DeleteOutputFiles();
    const std::wstring otherDay = pictures.File(L"other day.bmp");
    const std::wstring otherNight = pictures.File(L"other night.bmp");
    ASSERT_TRUE(WriteTestBitmap(otherDay, 80, 40));
    ASSERT_TRUE(WriteTestBitmap(otherNight, 80, 40));
    HWND custom = OpenCustomDialog();
    ASSERT_TRUE(custom);
    ASSERT_TRUE(SetControlText(custom, IDC_MAIN_IMAGE, otherDay));
    ASSERT_TRUE(Click(custom, IDC_TERMINATOR));
    ASSERT_TRUE(WaitUntil([custom] { return IsControlEnabled(custom, IDC_NIGHT_IMAGE); }));
    ASSERT_TRUE(SetControlText(custom, IDC_NIGHT_IMAGE, otherNight));
    ASSERT_TRUE(Click(custom, IDC_NO_BOOT_UPDATE));
    ASSERT_TRUE(SetControlText(custom, IDC_UPDATE_FREQ, L" 45 "));
    ASSERT_TRUE(SetControlText(custom, IDC_NOON_PIXEL, L"40"));
    ASSERT_TRUE(WaitUntil([custom] { return IsChecked(custom, IDC_NO_BOOT_UPDATE); }));
    ASSERT_TRUE(PressOk(custom));
    StoredSettings expected{otherDay, otherNight, 40, 45, 0, 1, 1, 4};
    EXPECT_EQ(ReadStoredSettings(), expected);
    // The update that OK asks for uses the new day and night pictures.
    EXPECT_TRUE(WaitForUpdateToEnd()) << "no update after OK";
    EXPECT_TRUE(FileExists(OutputFile(kTerminatorImageFile)));

    DeleteOutputFiles();
    custom = OpenCustomDialog();
    ASSERT_TRUE(custom);
    // Alt+D belongs to the open dialog's box, not to the main dialog's daytime style.
    ASSERT_TRUE(PressKeys(custom, {VK_MENU, 'D'}));
    ASSERT_TRUE(WaitUntil([custom] { return IsChecked(custom, IDC_DISABLED); }));
    ASSERT_TRUE(PressOk(custom));
    expected.disabled = 1;
    EXPECT_EQ(ReadStoredSettings(), expected);
    EXPECT_TRUE(WaitUntil([this] { return !IsControlEnabled(main, IDC_UPDATE_NOW); }));
    // An update would have shown its bar and written the wallpaper by now; a slow machine can
    // only make this pass wrongly, never fail.
    std::this_thread::sleep_for(3s);
    EXPECT_FALSE(FileExists(OutputFile(kCurrentImageFile)));
    EXPECT_FALSE(IsControlVisible(main, IDC_PROGRESS));
}

TEST_F(CustomDialog, CancelStoresNothingButBringsUpdateNowInLine) {
    // Disabled at start keeps "&Update Now" disabled; the daytime style then stores Disabled 0
    // without bringing the button in line.
    WriteSettings({.disabled = 1, .mode = 1});
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    ASSERT_FALSE(IsControlEnabled(main, IDC_UPDATE_NOW));
    ASSERT_TRUE(Click(main, IDC_CUSTOM_THUMB));
    ASSERT_TRUE(WaitUntil([] { return ReadStoredSettings().mode == 4u; }));
    ASSERT_TRUE(FinishCurrentHandler(main));
    const StoredSettings before = ReadStoredSettings();
    ASSERT_EQ(before.disabled, 0u);

    const HWND custom = OpenCustomDialog();
    ASSERT_TRUE(custom);
    ASSERT_TRUE(SetControlText(custom, IDC_MAIN_IMAGE, L"C:\\nowhere\\typed.jpg"));
    ASSERT_TRUE(SetControlText(custom, IDC_NOON_PIXEL, L"777"));
    ASSERT_TRUE(Click(custom, IDC_DISABLED));
    ASSERT_TRUE(WaitUntil([custom] { return IsChecked(custom, IDC_DISABLED); }));
    ASSERT_TRUE(CancelDialog(custom));
    EXPECT_TRUE(WaitUntil([this] { return IsControlEnabled(main, IDC_UPDATE_NOW); }));
    EXPECT_EQ(ReadStoredSettings(), before);
}

// The "..." buttons, through the real open-file dialog.
class CustomDialogBrowse : public CustomDialogTest {
protected:
    static HWND OpenFileDialog(HWND custom, int browseButton) {
        return Click(custom, browseButton) ? WaitForOwnedDialog(custom) : nullptr;
    }

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
    return ::testing::AssertionFailure() << "\"" << actual << "\" is not \"" << expected << "\"";
}

// A file that is no picture is taken without moving the noon column. The preset styles then
// still find the default maps in the program's folder, which the file dialog left.
TEST_F(CustomDialogBrowse, MainPictureSetsTheNoonColumnToItsMiddle) {
    const std::wstring even = pictures.File(L"even.bmp");
    const std::wstring odd = pictures.File(L"odd.bmp");
    const std::wstring notPicture = pictures.File(L"not a picture.png");
    ASSERT_TRUE(WriteTestBitmap(even, 2048, 4));
    ASSERT_TRUE(WriteTestBitmap(odd, 2047, 4));
    ASSERT_TRUE(std::ofstream(std::filesystem::path(notPicture)) << "This is text.");
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    const HWND custom = OpenCustomDialog();
    ASSERT_TRUE(custom);
    for (const auto& [picture, noon] :
         {std::pair{even, L"1024"}, std::pair{notPicture, L"1024"}, std::pair{odd, L"1023"}}) {
        ASSERT_TRUE(Browse(custom, IDC_BROWSE_MAIN, picture));
        EXPECT_TRUE(SamePath(ControlText(custom, IDC_MAIN_IMAGE), picture));
        EXPECT_EQ(ControlText(custom, IDC_NOON_PIXEL), noon);
        EXPECT_EQ(FindOwnedDialog(custom), nullptr) << "a message was shown";
    }
    ASSERT_TRUE(PressOk(custom));
    EXPECT_TRUE(SamePath(ReadStoredSettings().srcImgPath.value_or(L""), odd));
    EXPECT_EQ(ReadStoredSettings().noonUCTPixel, 1023u);

    ASSERT_TRUE(Click(main, IDC_DAYTIME_THUMB));
    ASSERT_TRUE(WaitUntil([] { return ReadStoredSettings().mode == 1u; }));
    ASSERT_TRUE(FinishCurrentHandler(main));
    EXPECT_TRUE(SamePath(ReadStoredSettings().srcImgPath.value_or(L""),
                         ProgramFolder() + L"\\Earth by day - ocean ice.jpg"));
}

TEST_F(CustomDialogBrowse, NightPictureLeavesTheNoonColumnAlone) {
    const std::wstring wide = pictures.File(L"wide night.bmp");
    ASSERT_TRUE(WriteTestBitmap(wide, 2048, 4));
    WriteSettings({.terminator = 1});
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    const HWND custom = OpenCustomDialog();
    ASSERT_TRUE(custom);
    ASSERT_TRUE(SetControlText(custom, IDC_NOON_PIXEL, L"77"));
    ASSERT_TRUE(Browse(custom, IDC_BROWSE_NIGHT, wide));
    EXPECT_TRUE(SamePath(ControlText(custom, IDC_NIGHT_IMAGE), wide));
    EXPECT_EQ(ControlText(custom, IDC_MAIN_IMAGE), dayPicture);
    EXPECT_EQ(ControlText(custom, IDC_NOON_PIXEL), L"77");
    ASSERT_TRUE(PressOk(custom));
    EXPECT_TRUE(SamePath(ReadStoredSettings().src2ImgPath.value_or(L""), wide));
    EXPECT_EQ(ReadStoredSettings().noonUCTPixel, 77u);
}

// The typed path is where the file dialog starts, cut to what the dialog takes when it is too
// long, and it stays when the file dialog is cancelled.
TEST_F(CustomDialogBrowse, CancelledFileDialogKeepsWhatWasTyped) {
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    const HWND custom = OpenCustomDialog();
    ASSERT_TRUE(custom);
    ASSERT_TRUE(SetControlText(custom, IDC_NOON_PIXEL, L"123"));
    for (const std::wstring& typed :
         {pictures.File(L"typed.bmp"), L"C:\\" + std::wstring(400, L'x') + L".bmp"}) {
        ASSERT_TRUE(SetControlText(custom, IDC_MAIN_IMAGE, typed));
        const HWND fileDialog = OpenFileDialog(custom, IDC_BROWSE_MAIN);
        ASSERT_TRUE(fileDialog);
        const std::wstring offered = FileDialogFileName(fileDialog);
        EXPECT_FALSE(offered.empty());
        EXPECT_LT(offered.size(), size_t{MAX_PATH});
        EXPECT_NE(typed.find(offered.substr(offered.find_last_of(L'\\') + 1)), std::wstring::npos)
            << "not a piece of the typed path: " << offered;
        ASSERT_TRUE(CancelDialog(fileDialog));
        EXPECT_EQ(ControlText(custom, IDC_MAIN_IMAGE), typed);
        EXPECT_EQ(ControlText(custom, IDC_NOON_PIXEL), L"123");
    }
    ASSERT_TRUE(CancelDialog(custom));
}

} // namespace
} // namespace program_test
