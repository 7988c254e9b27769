// How the custom settings dialog ends: OK stores every value and asks for an update, Cancel
// stores nothing, and a field that holds no number keeps the dialog open.

#include <thread>

#include "CustomDialogFixture.h"
#include "win/DataExchange.h"

namespace program_test {
namespace {

using CustomDialogOkCancel = CustomDialogTest;

TEST_F(CustomDialogOkCancel, OkStoresAllSevenValuesAndStartsAnUpdate) {
    ASSERT_NO_FATAL_FAILURE(StartProgramAndFinishFirstUpdate());
    const std::wstring otherDay = pictures.File(L"other day.bmp");
    const std::wstring otherNight = pictures.File(L"other night.bmp");
    ASSERT_TRUE(WriteTestBitmap(otherDay, 80, 40));
    ASSERT_TRUE(WriteTestBitmap(otherNight, 80, 40));
    const HWND custom = OpenCustomDialog();
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

    EXPECT_EQ(ReadStringSetting(L"SrcImgPath"), otherDay);
    EXPECT_EQ(ReadStringSetting(L"Src2ImgPath"), otherNight);
    EXPECT_EQ(ReadDwordSetting(L"Terminator"), 1u);
    EXPECT_EQ(ReadDwordSetting(L"NoBootUpdate"), 1u);
    EXPECT_EQ(ReadDwordSetting(L"Disabled"), 0u);
    EXPECT_EQ(ReadDwordSetting(L"UpdateFreqMins"), 45u);
    EXPECT_EQ(ReadDwordSetting(L"NoonUCTPixel"), 40u);
    EXPECT_EQ(ReadDwordSetting(L"Mode"), 4u);
    // The update that OK asked for uses the new day and night pictures.
    EXPECT_TRUE(WaitForUpdateToEnd()) << "no update after OK";
    EXPECT_TRUE(FileExists(OutputFile(kTerminatorImageFile)));
    EXPECT_TRUE(IsControlEnabled(main, IDC_UPDATE_NOW));
}

TEST_F(CustomDialogOkCancel, OkWithDisableCheckedStartsNoUpdateAndDisablesUpdateNow) {
    ASSERT_NO_FATAL_FAILURE(StartProgramAndFinishFirstUpdate());
    ASSERT_TRUE(IsControlEnabled(main, IDC_UPDATE_NOW));
    const HWND custom = OpenCustomDialog();
    ASSERT_TRUE(custom);
    ASSERT_TRUE(PressAltKey(custom, 'D'));
    ASSERT_TRUE(WaitUntil([custom] { return IsChecked(custom, IDC_DISABLED); }));
    ASSERT_TRUE(PressOk(custom));

    EXPECT_EQ(ReadDwordSetting(L"Disabled"), 1u);
    // Alt+D belongs to the open dialog's box, not to the main dialog's daytime style.
    EXPECT_EQ(ReadDwordSetting(L"Mode"), 4u);
    EXPECT_TRUE(WaitUntil([this] { return !IsControlEnabled(main, IDC_UPDATE_NOW); }));
    // An update would have shown its progress bar and written the wallpaper by now; a slow
    // machine can only make this look pass, never fail.
    std::this_thread::sleep_for(3s);
    EXPECT_FALSE(FileExists(OutputFile(kCurrentImageFile)));
    EXPECT_FALSE(IsControlVisible(main, IDC_PROGRESS));
}

TEST_F(CustomDialogOkCancel, CancelStoresNothingButBringsUpdateNowInLine) {
    // Disabled at start: "&Update Now" starts disabled, and the daytime style then stores
    // Disabled 0 without bringing the button in line.
    WriteSetting(L"Mode", 1);
    WriteSetting(L"Disabled", 1);
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    ASSERT_FALSE(IsControlEnabled(main, IDC_UPDATE_NOW));
    ASSERT_TRUE(Click(main, IDC_CUSTOM_THUMB));
    ASSERT_TRUE(WaitUntil([this] { return IsControlEnabled(main, IDC_EDIT_CUSTOM); }));
    ASSERT_TRUE(WaitUntil([] { return ReadDwordSetting(L"Mode") == 4u; }));
    ASSERT_TRUE(FinishCurrentHandler(main));
    const StoredSettings before = ReadStoredSettings();
    ASSERT_EQ(before.disabled, 0u);

    HWND custom = OpenCustomDialog();
    ASSERT_TRUE(custom);
    const std::wstring shownMainPath = ControlText(custom, IDC_MAIN_IMAGE);
    ASSERT_TRUE(SetControlText(custom, IDC_MAIN_IMAGE, L"C:\\nowhere\\typed.jpg"));
    ASSERT_TRUE(SetControlText(custom, IDC_NOON_PIXEL, L"777"));
    ASSERT_TRUE(Click(custom, IDC_DISABLED));
    ASSERT_TRUE(WaitUntil([custom] { return IsChecked(custom, IDC_DISABLED); }));
    ASSERT_TRUE(CancelDialog(custom));

    EXPECT_TRUE(WaitUntil([this] { return IsControlEnabled(main, IDC_UPDATE_NOW); }));
    EXPECT_EQ(ReadStoredSettings(), before);

    // Escape and the close box cancel too, and the dialog opens on the unchanged values.
    custom = OpenCustomDialog();
    ASSERT_TRUE(custom);
    EXPECT_EQ(ControlText(custom, IDC_MAIN_IMAGE), shownMainPath);
    EXPECT_NE(ControlText(custom, IDC_NOON_PIXEL), L"777");
    EXPECT_FALSE(IsChecked(custom, IDC_DISABLED));
    ASSERT_TRUE(SetControlText(custom, IDC_UPDATE_FREQ, L"99"));
    ASSERT_TRUE(PressKey(custom, VK_ESCAPE));
    ASSERT_TRUE(WaitUntilGone(custom));
    custom = OpenCustomDialog();
    ASSERT_TRUE(custom);
    ASSERT_TRUE(SetControlText(custom, IDC_UPDATE_FREQ, L"98"));
    PostClose(custom);
    ASSERT_TRUE(WaitUntilGone(custom));
    EXPECT_EQ(ReadStoredSettings(), before);
}

struct BadNumber {
    int field;
    const wchar_t* text;
};

class CustomDialogBadNumber : public CustomDialogTest,
                              public ::testing::WithParamInterface<BadNumber> {};

TEST_P(CustomDialogBadNumber, OkShowsTheNumberMessageAndKeepsTheDialogOpen) {
    const BadNumber bad = GetParam();
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    const StoredSettings before = ReadStoredSettings();
    const HWND custom = OpenCustomDialog();
    ASSERT_TRUE(custom);
    ASSERT_TRUE(SetControlText(custom, bad.field, bad.text));
    ASSERT_TRUE(Click(custom, IDOK));

    const HWND box = WaitForOwnedDialog(custom);
    ASSERT_TRUE(box) << "no message about the bad number";
    wchar_t title[64] = {};
    GetWindowTextW(box, title, 64);
    EXPECT_STREQ(title, kMessageBoxTitle);
    EXPECT_EQ(MessageBoxText(box), kBadNumberMessage);
    ASSERT_TRUE(Click(box, IDOK));
    ASSERT_TRUE(WaitUntilGone(box));

    // Still open, with the field focused and its whole text selected for retyping.
    ASSERT_TRUE(IsWindow(custom));
    const HWND field = GetDlgItem(custom, bad.field);
    EXPECT_TRUE(WaitUntil([&] { return FocusedWindow(custom) == field; }));
    const auto length = static_cast<DWORD>(std::wstring(bad.text).size());
    EXPECT_EQ(EditSelection(field), std::make_pair(DWORD{0}, length));
    EXPECT_EQ(ReadStoredSettings(), before);

    ASSERT_TRUE(SetControlText(custom, bad.field, L"30"));
    ASSERT_TRUE(PressOk(custom));
    EXPECT_EQ(ReadDwordSetting(bad.field == IDC_UPDATE_FREQ ? L"UpdateFreqMins" : L"NoonUCTPixel"),
              30u);
}

INSTANTIATE_TEST_SUITE_P(Fields, CustomDialogBadNumber,
                         ::testing::Values(BadNumber{IDC_UPDATE_FREQ, L"abc"},
                                           BadNumber{IDC_NOON_PIXEL, L"-5"},
                                           BadNumber{IDC_NOON_PIXEL, L"4294967296"}));

TEST_F(CustomDialogOkCancel, AllBitsSetShowsAsUnsignedAndIsStoredBackUnchanged) {
    WriteSetting(L"NoonUCTPixel", 0xFFFFFFFFu);
    WriteSetting(L"UpdateFreqMins", 0xFFFFFFFFu);
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    const HWND custom = OpenCustomDialog();
    ASSERT_TRUE(custom);
    EXPECT_EQ(ControlText(custom, IDC_NOON_PIXEL), L"4294967295");
    EXPECT_EQ(ControlText(custom, IDC_UPDATE_FREQ), L"4294967295");
    ASSERT_TRUE(PressOk(custom));
    EXPECT_EQ(ReadDwordSetting(L"NoonUCTPixel"), 0xFFFFFFFFu);
    EXPECT_EQ(ReadDwordSetting(L"UpdateFreqMins"), 0xFFFFFFFFu);
}

} // namespace
} // namespace program_test
