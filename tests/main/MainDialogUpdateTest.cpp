// Updates from the settings window: "&Update Now", the hidden start, and closing mid-update.

#include "MainDialogFixture.h"

namespace program_test {
namespace {

class MainDialogUpdate : public MainDialogTest {
protected:
    // The custom style with the default maps and the update at start skipped, so that the
    // first update is the one the test asks for.
    void PlantCustomStyleWithoutStartUpdate(DWORD terminator) {
        WriteSetting(L"Mode", 4);
        WriteSetting(L"SrcImgPath", DefaultMap(kDayMap));
        WriteSetting(L"Src2ImgPath", DefaultMap(kNightMap));
        WriteSetting(L"NoonUCTPixel", 1024);
        WriteSetting(L"Terminator", terminator);
        WriteSetting(L"NoBootUpdate", 1);
    }
};

std::wstring DesktopWallpaper() {
    wchar_t path[MAX_PATH] = {};
    SystemParametersInfoW(SPI_GETDESKWALLPAPER, MAX_PATH, path, 0);
    return path;
}

TEST_F(MainDialogUpdate, UpdateNowShowsProgressAndSetsTheWallpaper) {
    PlantCustomStyleWithoutStartUpdate(0);
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    EXPECT_TRUE(IsControlVisible(main, IDC_UPDATE_NOW));
    EXPECT_FALSE(IsControlVisible(main, IDC_PROGRESS));
    EXPECT_FALSE(FileExists(OutputFile(kCurrentImageFile))) << "the update at start ran";

    ASSERT_TRUE(Click(main, IDC_UPDATE_NOW));
    // The bar takes the button's place for at least one poll of the worker.
    EXPECT_TRUE(WaitUntil([this] {
        return IsControlVisible(main, IDC_PROGRESS) && !IsControlVisible(main, IDC_UPDATE_NOW);
    }));
    ASSERT_TRUE(WaitForUpdateToEnd());
    EXPECT_EQ(DesktopWallpaper(), OutputFile(kCurrentImageFile));
    EXPECT_FALSE(FileExists(OutputFile(kTerminatorImageFile)));
}

TEST_F(MainDialogUpdate, ClosingDuringAnUpdateEndsTheProgram) {
    PlantCustomStyleWithoutStartUpdate(1);
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    ASSERT_TRUE(Click(main, IDC_UPDATE_NOW));
    ASSERT_TRUE(WaitUntil([this] { return IsControlVisible(main, IDC_PROGRESS); }));
    EXPECT_EQ(program->Close(), 0u);
    EXPECT_FALSE(program->Running());
}

TEST_F(MainDialogUpdate, HiddenStartWorksUnseenAndOffTheTaskbar) {
    ASSERT_NO_FATAL_FAILURE(StartProgram(L"/s", Visibility::Any));
    ASSERT_TRUE(WaitUntil([] { return FileExists(OutputFile(kCurrentImageFile)); }))
        << "no update while hidden";
    EXPECT_EQ(DesktopWallpaper(), OutputFile(kCurrentImageFile));
    EXPECT_FALSE(IsWindowVisible(main));
    const LONG_PTR exStyle = GetWindowLongPtrW(main, GWL_EXSTYLE);
    EXPECT_FALSE(exStyle & WS_EX_APPWINDOW);
    EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);
    EXPECT_EQ(program->Close(), 0u);
}

TEST_F(MainDialogUpdate, OnlySlashSAloneHidesTheWindow) {
    for (const wchar_t* arguments : {L"/S", L"-s", L"/s x"}) {
        SCOPED_TRACE(testing::Message() << "command line " << arguments);
        ASSERT_NO_FATAL_FAILURE(StartProgram(arguments));
        EXPECT_TRUE(IsWindowVisible(main));
        EXPECT_TRUE(GetWindowLongPtrW(main, GWL_EXSTYLE) & WS_EX_APPWINDOW);
        EXPECT_EQ(program->Close(), 0u);
    }
}

} // namespace
} // namespace program_test
