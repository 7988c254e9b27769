// The settings window's own pieces: the about box from the system menu, help, and closing.

#include "MainDialogFixture.h"

namespace program_test {
namespace {

using MainDialogWindow = MainDialogTest;

TEST_F(MainDialogWindow, SystemMenuItemOpensTheAboutBox) {
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    PostMessageW(main, WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
    const HWND about = program->WaitForWindow(kAboutBoxTitle);
    ASSERT_TRUE(about);
    EXPECT_EQ(ControlText(about, IDC_ABOUT_VERSION), L"Pembrix Gloamery Version 1.11");
    // The settings window waits while the about box is open.
    EXPECT_FALSE(IsWindowEnabled(main));
    ASSERT_TRUE(Click(about, IDOK));
    EXPECT_TRUE(WaitUntilGone(about));
    EXPECT_TRUE(WaitUntil([this] { return IsWindowEnabled(main) != FALSE; }));
}

TEST_F(MainDialogWindow, EscapeAndCloseEndTheProgram) {
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    ASSERT_TRUE(Click(main, IDOK)); // "&Close"
    EXPECT_EQ(program->WaitForExit(), 0u);

    ASSERT_NO_FATAL_FAILURE(StartProgram());
    ASSERT_TRUE(PressKey(main, VK_ESCAPE));
    EXPECT_EQ(program->WaitForExit(), 0u);
}

} // namespace
} // namespace program_test
