// The dialog's own modal loop: its result, its owner, its end, hidden dialogs and keyboard
// messages offered to the dialog before its navigation.

#include <gtest/gtest.h>

#include <array>

#include "ScriptedDialog.h"
#include "TestDialogIds.h"
#include "win/Handles.h"

namespace {

UniqueWindow MakeOwnerWindow() {
    return UniqueWindow(CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP, 0, 0, 10, 10, nullptr,
                                        nullptr, GetModuleHandleW(nullptr), nullptr));
}

TEST(DialogModalRun, ReturnsEndDialogResultAndRestoresOwner) {
    const UniqueWindow owner = MakeOwnerWindow();
    ASSERT_TRUE(owner);
    ScriptedDialog dialog(IDD_TEST_CONTROLS, owner.get());
    bool ownerEnabledWhileRunning = true;
    HWND dialogWindow = nullptr;
    const INT_PTR result = dialog.Run({[&] {
        ownerEnabledWhileRunning = IsWindowEnabled(owner.get());
        dialogWindow = dialog.Window();
        EXPECT_EQ(GetWindow(dialogWindow, GW_OWNER), owner.get());
        dialog.EndDialog(1234);
    }});
    EXPECT_EQ(result, 1234);
    EXPECT_FALSE(ownerEnabledWhileRunning);
    EXPECT_TRUE(IsWindowEnabled(owner.get()));
    EXPECT_FALSE(IsWindow(dialogWindow));
    EXPECT_EQ(dialog.Window(), nullptr);
}

TEST(DialogModalRun, OwnerThatWasDisabledStaysDisabled) {
    const UniqueWindow owner = MakeOwnerWindow();
    ASSERT_TRUE(owner);
    EnableWindow(owner.get(), FALSE);
    ScriptedDialog dialog(IDD_TEST_CONTROLS, owner.get());
    dialog.Run({[&] { dialog.EndDialog(IDOK); }});
    EXPECT_FALSE(IsWindowEnabled(owner.get()));
}

TEST(DialogModalRun, DestroyedWindowEndsTheRun) {
    const UniqueWindow owner = MakeOwnerWindow();
    ASSERT_TRUE(owner);
    ScriptedDialog dialog(IDD_TEST_CONTROLS, owner.get());
    bool stepAfterDestruction = false;
    const INT_PTR result =
        dialog.Run({[&] { DestroyWindow(dialog.Window()); }, [&] { stepAfterDestruction = true; }});
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_FALSE(stepAfterDestruction);
    EXPECT_TRUE(IsWindowEnabled(owner.get()));
}

TEST(DialogModalRun, CancelEscapeAndCloseEndWithCancel) {
    const std::array<std::pair<UINT, WPARAM>, 3> endings = {{
        {WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED)},
        {WM_KEYDOWN, VK_ESCAPE},
        {WM_CLOSE, 0},
    }};
    for (const auto& [message, wParam] : endings) {
        ScriptedDialog dialog(IDD_TEST_CONTROLS);
        const INT_PTR result =
            dialog.Run({[&] { PostMessageW(dialog.Window(), message, wParam, 0); }});
        EXPECT_EQ(result, IDCANCEL) << "message " << message;
    }
}

TEST(DialogModalRun, EndInOnInitDialogSkipsTheLoop) {
    class EndsAtOnce : public ScriptedDialog {
    public:
        EndsAtOnce() : ScriptedDialog(IDD_TEST_CONTROLS) {}

    protected:
        BOOL OnInitDialog() override {
            EndDialog(0);
            return TRUE;
        }
    };
    EndsAtOnce dialog;
    bool stepRan = false;
    EXPECT_EQ(dialog.Run({[&] { stepRan = true; }}), 0);
    EXPECT_FALSE(stepRan);
}

TEST(DialogModalRun, QuitRequestEndsTheRunAndIsPassedOn) {
    ScriptedDialog dialog(IDD_TEST_CONTROLS);
    EXPECT_EQ(dialog.Run({[] { PostQuitMessage(7); }}), IDCANCEL);
    MSG message;
    ASSERT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 7u);
}

TEST(DialogModalRun, MissingTemplateFailsAndLeavesOwnerEnabled) {
    const UniqueWindow owner = MakeOwnerWindow();
    ASSERT_TRUE(owner);
    ScriptedDialog dialog(4711, owner.get());
    EXPECT_EQ(dialog.Run({}), -1);
    EXPECT_TRUE(IsWindowEnabled(owner.get()));
}

class HiddenDialog : public ScriptedDialog {
public:
    HiddenDialog() : ScriptedDialog(IDD_TEST_VISIBLE) {}

protected:
    BOOL OnInitDialog() override {
        const BOOL focusDefault = ScriptedDialog::OnInitDialog();
        KeepHidden();
        return focusDefault;
    }
};

TEST(DialogModalRun, VisibleTemplateIsShownWithoutKeepHidden) {
    ScriptedDialog dialog(IDD_TEST_VISIBLE);
    bool visible = false;
    dialog.Run({[&] { visible = IsWindowVisible(dialog.Window()); }});
    EXPECT_TRUE(visible);
}

TEST(DialogModalRun, KeepHiddenFromOnInitDialogStaysHidden) {
    HiddenDialog dialog;
    bool visibleAtStart = true;
    bool visibleAfterShow = true;
    dialog.Run({[&] {
                    visibleAtStart = IsWindowVisible(dialog.Window());
                    ShowWindow(dialog.Window(), SW_SHOWNORMAL);
                    SetWindowPos(dialog.Window(), HWND_TOP, 0, 0, 0, 0,
                                 SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
                },
                [&] { visibleAfterShow = IsWindowVisible(dialog.Window()); }});
    EXPECT_FALSE(visibleAtStart);
    EXPECT_FALSE(visibleAfterShow);
}

// Offers keyboard messages to an accelerator table first, as the main dialog does.
class AcceleratedDialog : public ScriptedDialog {
public:
    explicit AcceleratedDialog(bool translate)
        : ScriptedDialog(IDD_TEST_CONTROLS), translate(translate) {}

    int commands = 0;

protected:
    bool PreTranslateMessage(MSG& message) override {
        if (translate && message.message >= WM_KEYFIRST && message.message <= WM_KEYLAST &&
            TranslateAcceleratorW(Window(), accelerators, &message)) {
            return true;
        }
        return ScriptedDialog::PreTranslateMessage(message);
    }

    std::span<const CommandRoute> Commands() const override {
        static constexpr CommandRoute routes[] = {
            {IDM_TEST_ACCELERATOR, 0, CommandHandler<&AcceleratedDialog::OnAccelerator>},
        };
        return routes;
    }

private:
    void OnAccelerator() { ++commands; }

    bool translate;
    // Tables loaded from resources belong to the module; nothing to free.
    HACCEL accelerators =
        LoadAcceleratorsW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_TEST_ACCELERATORS));
};

// Presses Alt+A as far as the thread's keyboard state and its message queue go.
int CommandsAfterAltA(bool translate) {
    AcceleratedDialog dialog(translate);
    std::array<BYTE, 256> savedKeys{};
    dialog.Run({[&] {
                    GetKeyboardState(savedKeys.data());
                    std::array<BYTE, 256> keys = savedKeys;
                    keys[VK_MENU] = keys[VK_LMENU] = 0x80;
                    SetKeyboardState(keys.data());
                    const UINT scan = MapVirtualKeyW('A', MAPVK_VK_TO_VSC);
                    const LPARAM altDown = 0x20000000 | (scan << 16) | 1;
                    PostMessageW(dialog.Item(IDC_TEST_TEXT), WM_SYSKEYDOWN, 'A', altDown);
                },
                [&] { SetKeyboardState(savedKeys.data()); }});
    return dialog.commands;
}

TEST(DialogModalRun, AcceleratorKeyReachesItsCommandRoute) {
    EXPECT_EQ(CommandsAfterAltA(true), 1);
    EXPECT_EQ(CommandsAfterAltA(false), 0);
}

} // namespace
