// The dialog's own modal loop: its result, its owner, its end, hidden dialogs and keyboard
// messages offered to the dialog before its navigation.

#include <gtest/gtest.h>

#include "ScriptedDialog.h"
#include "TestDialogIds.h"
#include "win/Handles.h"

namespace {

TEST(DialogModalRun, ReturnsItsEndResultAndDisablesOnlyAnEnabledOwnerMeanwhile) {
    const UniqueWindow owner(CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP, 0, 0, 10, 10,
                                             nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
    ASSERT_TRUE(owner);
    ScriptedDialog dialog(IDD_TEST_CONTROLS, owner.get());
    HWND window = nullptr;
    const auto end = [&] {
        window = dialog.Window();
        EXPECT_FALSE(IsWindowEnabled(owner.get()));
        EXPECT_EQ(GetWindow(window, GW_OWNER), owner.get());
        dialog.EndDialog(1234);
    };
    EXPECT_EQ(dialog.Run({end}), 1234);
    EXPECT_TRUE(IsWindowEnabled(owner.get()));
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(dialog.Window(), nullptr);

    // A run that ends by the window's destruction, or fails for want of a template, enables
    // the owner again too.
    bool stepAfterDestruction = false;
    EXPECT_EQ(
        dialog.Run({[&] { DestroyWindow(dialog.Window()); }, [&] { stepAfterDestruction = true; }}),
        IDCANCEL);
    EXPECT_FALSE(stepAfterDestruction);
    EXPECT_TRUE(IsWindowEnabled(owner.get()));
    EXPECT_EQ(ScriptedDialog(4711, owner.get()).Run({}), -1);
    EXPECT_TRUE(IsWindowEnabled(owner.get()));

    // An owner that was disabled stays disabled.
    EnableWindow(owner.get(), FALSE);
    EXPECT_EQ(dialog.Run({[&] { dialog.EndDialog(IDOK); }}), IDOK);
    EXPECT_FALSE(IsWindowEnabled(owner.get()));
}

TEST(DialogModalRun, EndsOnEscapeOnEndDuringInitialisationAndOnQuit) {
    // Escape, which the dialog manager makes a Cancel click.
    ScriptedDialog escaped(IDD_TEST_CONTROLS);
    EXPECT_EQ(escaped.Run({[&] { PostMessageW(escaped.Window(), WM_KEYDOWN, VK_ESCAPE, 0); }}),
              IDCANCEL);

    ScriptedDialog endsAtOnce(IDD_TEST_CONTROLS);
    endsAtOnce.onInit = [&] { endsAtOnce.EndDialog(0); };
    bool stepRan = false;
    EXPECT_EQ(endsAtOnce.Run({[&] { stepRan = true; }}), 0);
    EXPECT_FALSE(stepRan);

    // The quit request ends the run and is passed on to the loop outside.
    ScriptedDialog quits(IDD_TEST_CONTROLS);
    EXPECT_EQ(quits.Run({[] { PostQuitMessage(7); }}), IDCANCEL);
    MSG message;
    ASSERT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 7u);
}

TEST(DialogModalRun, KeepHiddenFromOnInitDialogOutlastsShowing) {
    ScriptedDialog shown(IDD_TEST_VISIBLE);
    bool visible = false;
    shown.Run({[&] { visible = IsWindowVisible(shown.Window()); }});
    EXPECT_TRUE(visible) << "the template alone shows the dialog";

    ScriptedDialog hidden(IDD_TEST_VISIBLE);
    hidden.onInit = [&] { hidden.KeepHidden(); };
    bool visibleAtStart = true;
    bool visibleAfterShow = true;
    hidden.Run({[&] {
                    visibleAtStart = IsWindowVisible(hidden.Window());
                    ShowWindow(hidden.Window(), SW_SHOWNORMAL);
                    SetWindowPos(hidden.Window(), HWND_TOP, 0, 0, 0, 0,
                                 SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
                },
                [&] { visibleAfterShow = IsWindowVisible(hidden.Window()); }});
    EXPECT_FALSE(visibleAtStart);
    EXPECT_FALSE(visibleAfterShow);
}

} // namespace
