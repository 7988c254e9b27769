// What the settings window stores and shows when the program starts.

#include "MainDialogFixture.h"

namespace program_test {
namespace {

using MainDialogStart = MainDialogTest;

TEST_F(MainDialogStart, FirstRunStoresTheDaytimeStyleWithTheDefaultMaps) {
    ASSERT_FALSE(ProgramSettingsExist());
    ASSERT_NO_FATAL_FAILURE(StartProgram());

    const StoredSettings stored = ReadStoredSettings();
    EXPECT_EQ(stored.mode, 1u);
    EXPECT_EQ(stored.srcImgPath, DefaultMap(kDayMap));
    EXPECT_EQ(stored.src2ImgPath, L"");
    EXPECT_EQ(stored.noonUCTPixel, 1024u);
    EXPECT_EQ(stored.updateFreqMins, 15u);
    EXPECT_EQ(stored.disabled, 0u);
    EXPECT_EQ(stored.noBootUpdate, 0u);
    EXPECT_EQ(stored.terminator, 0u);

    EXPECT_EQ(TextOf(main), L"Pembrix Gloamery Settings");
    EXPECT_EQ(ControlText(main, IDC_VERSION), L"Version 1.11");
    EXPECT_FALSE(IsControlEnabled(main, IDC_EDIT_CUSTOM));
    EXPECT_TRUE(IsControlEnabled(main, IDC_UPDATE_NOW));
    // The update at start sets the wallpaper from the default day map.
    EXPECT_TRUE(WaitForUpdateToEnd());
}

TEST_F(MainDialogStart, StyleOutsideTheFourAppliesTheDaytimeStyle) {
    for (const DWORD mode : {0u, 7u}) {
        SCOPED_TRACE(mode);
        WriteSetting(L"Mode", mode);
        ASSERT_NO_FATAL_FAILURE(StartProgram());
        EXPECT_EQ(ReadDwordSetting(L"Mode"), 1u);
        EXPECT_EQ(ReadStringSetting(L"SrcImgPath"), DefaultMap(kDayMap));
        EXPECT_EQ(program->Close(), 0u);
    }
}

// A preset style rewrites its settings at every start; "&Update Now" follows the stored
// Disabled flag as it was before the style was applied, while the update at start still runs.
TEST_F(MainDialogStart, PresetStyleRewritesItsSettingsAtEveryStart) {
    WriteSetting(L"Mode", 3);
    WriteSetting(L"NoonUCTPixel", 5);
    WriteSetting(L"UpdateFreqMins", 30);
    WriteSetting(L"Disabled", 1);
    WriteSetting(L"NoBootUpdate", 1);
    WriteSetting(L"SrcImgPath", std::wstring(L"C:\\elsewhere.jpg"));
    ASSERT_NO_FATAL_FAILURE(StartProgram());

    const StoredSettings stored = ReadStoredSettings();
    EXPECT_EQ(stored.mode, 3u);
    EXPECT_EQ(stored.srcImgPath, DefaultMap(kDayMap));
    EXPECT_EQ(stored.src2ImgPath, DefaultMap(kNightMap));
    EXPECT_EQ(stored.noonUCTPixel, 1024u);
    EXPECT_EQ(stored.updateFreqMins, 15u);
    EXPECT_EQ(stored.disabled, 0u);
    EXPECT_EQ(stored.noBootUpdate, 0u);
    EXPECT_EQ(stored.terminator, 1u);

    EXPECT_FALSE(IsControlEnabled(main, IDC_UPDATE_NOW));
    EXPECT_TRUE(WaitUntil([] { return FileExists(OutputFile(kTerminatorImageFile)); }));
    EXPECT_TRUE(WaitUntil([] { return FileExists(OutputFile(kCurrentImageFile)); }));
}

TEST_F(MainDialogStart, CustomStyleKeepsItsSettingsAndOffersEdit) {
    WriteSetting(L"Mode", 4);
    WriteSetting(L"NoonUCTPixel", 77);
    WriteSetting(L"UpdateFreqMins", 30);
    WriteSetting(L"Disabled", 1);
    WriteSetting(L"SrcImgPath", std::wstring(L"C:\\mine.png"));
    const StoredSettings before = ReadStoredSettings();
    ASSERT_NO_FATAL_FAILURE(StartProgram());

    StoredSettings after = ReadStoredSettings();
    // The start saves every value, so the ones that were missing appear with their defaults.
    EXPECT_EQ(after.mode, 4u);
    EXPECT_EQ(after.noonUCTPixel, before.noonUCTPixel);
    EXPECT_EQ(after.updateFreqMins, before.updateFreqMins);
    EXPECT_EQ(after.disabled, 1u);
    EXPECT_EQ(after.srcImgPath, before.srcImgPath);
    EXPECT_EQ(after.src2ImgPath, L"");
    EXPECT_TRUE(IsControlEnabled(main, IDC_EDIT_CUSTOM));
    EXPECT_FALSE(IsControlEnabled(main, IDC_UPDATE_NOW));
}

} // namespace
} // namespace program_test
