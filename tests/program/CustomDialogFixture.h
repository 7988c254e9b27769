#pragma once
// The program started in the custom style with small pictures of its own, so that its updates
// are quick, and the custom settings dialog opened from its "&Edit" button.

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "ProgramDriver.h"
#include "ui/ResourceIds.h"

namespace program_test {

class CustomDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(pictures.Path().empty());
        dayPicture = pictures.File(L"day.bmp");
        nightPicture = pictures.File(L"night.bmp");
        ASSERT_TRUE(WriteTestBitmap(dayPicture, 64, 32));
        ASSERT_TRUE(WriteTestBitmap(nightPicture, 64, 32));
        DeleteProgramSettings();
        DeleteOutputFiles();
        WriteSetting(L"Mode", 4);
        WriteSetting(L"SrcImgPath", dayPicture);
        WriteSetting(L"Src2ImgPath", nightPicture);
        WriteSetting(L"NoonUCTPixel", 32);
        WriteSetting(L"UpdateFreqMins", 15);
        WriteSetting(L"Disabled", 0);
        WriteSetting(L"NoBootUpdate", 0);
        WriteSetting(L"Terminator", 0);
    }

    void TearDown() override {
        // A test that stopped half-way may leave the custom dialog open over the main one.
        if (const HWND custom = program ? program->FindWindowTitled(kCustomDialogTitle) : nullptr) {
            PostClose(custom);
            WaitUntilGone(custom);
        }
        if (program && program->Running()) {
            EXPECT_EQ(program->Close(), 0u) << "the program did not close cleanly";
        }
        program.reset();
        DeleteProgramSettings();
    }

    // Starts the program with the settings planted so far and waits for its main dialog.
    void StartProgram() {
        program.emplace();
        ASSERT_TRUE(program->Started());
        main = program->WaitForMainDialog();
        ASSERT_TRUE(main) << "no main dialog";
    }

    // Waits until an update has written the wallpaper and "&Update Now" is back in place of the
    // progress bar.
    bool WaitForUpdateToEnd() const {
        return WaitUntil([this] {
            return FileExists(OutputFile(kCurrentImageFile)) &&
                   IsControlVisible(main, IDC_UPDATE_NOW) && !IsControlVisible(main, IDC_PROGRESS);
        });
    }

    // Starts the program and lets its update at start finish, so that a later update can be
    // told apart by the pictures it writes.
    void StartProgramAndFinishFirstUpdate() {
        ASSERT_NO_FATAL_FAILURE(StartProgram());
        ASSERT_TRUE(WaitForUpdateToEnd()) << "the update at start did not end";
        DeleteOutputFiles();
    }

    // Clicks "&Edit" and waits for the custom settings dialog.
    HWND OpenCustomDialog() {
        if (!Click(main, IDC_EDIT_CUSTOM)) {
            return nullptr;
        }
        return program->WaitForWindow(kCustomDialogTitle);
    }

    // Clicks OK in the custom settings dialog and waits until it has gone.
    static bool PressOk(HWND custom) { return Click(custom, IDOK) && WaitUntilGone(custom); }

    TemporaryFolder pictures;
    std::wstring dayPicture;
    std::wstring nightPicture;
    std::optional<ProgramProcess> program;
    HWND main = nullptr;
};

} // namespace program_test
