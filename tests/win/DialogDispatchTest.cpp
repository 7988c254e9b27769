// How a dialog hands messages and commands to its handlers, where its help command goes, and
// how it answers the dialog manager.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "ScriptedDialog.h"
#include "TestDialogIds.h"
#include "win/WindowText.h"

namespace {

constexpr UINT kDoubleMessage = WM_APP + 5;

class RoutedDialog : public ScriptedDialog {
public:
    explicit RoutedDialog(HWND owner = nullptr) : ScriptedDialog(IDD_TEST_CONTROLS, owner) {}

    std::vector<std::wstring> log;
    bool blockCaptionChanges = false;

    void WinHelpW(DWORD_PTR, UINT) override { log.push_back(L"help request"); }

protected:
    // Offers keyboard messages to an accelerator table first, as the main dialog does.
    bool PreTranslateMessage(MSG& message) override {
        return (message.message >= WM_KEYFIRST && message.message <= WM_KEYLAST &&
                TranslateAcceleratorW(Window(), accelerators, &message)) ||
               ScriptedDialog::PreTranslateMessage(message);
    }

    MessageResult WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_TIMER || message == WM_COMMAND) {
            log.push_back(L"hook");
        }
        return ScriptedDialog::WindowProc(message, wParam, lParam);
    }

    std::span<const CommandRoute> Commands() const override {
        static constexpr CommandRoute routes[] = {
            {IDC_TEST_BUTTON, BN_CLICKED, CommandHandler<&RoutedDialog::OnButtonClicked>},
            {IDC_TEST_TEXT, EN_CHANGE, CommandHandler<&RoutedDialog::OnTextChanged>},
            {IDM_TEST_ACCELERATOR, 0, CommandHandler<&RoutedDialog::OnAccelerator>},
            {ID_TEST_HELP, BN_CLICKED, CommandHandler<&RoutedDialog::OnHelpTopic>},
        };
        return routes;
    }

    std::span<const MessageRoute> Messages() const override {
        static constexpr MessageRoute routes[] = {
            {WM_TIMER, MessageHandler<&RoutedDialog::OnTimer>},
            {kDoubleMessage, MessageHandler<&RoutedDialog::OnDouble>},
            {WM_QUERYDRAGICON, MessageHandler<&RoutedDialog::OnQueryDragIcon>},
            {WM_SETTEXT, MessageHandler<&RoutedDialog::OnSetText>},
        };
        return routes;
    }

private:
    void OnButtonClicked() { log.push_back(L"click"); }
    void OnTextChanged() noexcept { log.push_back(L"change"); }
    void OnAccelerator() { log.push_back(L"accelerator"); }
    void OnHelpTopic() { log.push_back(L"help topic"); }
    void OnTimer(WPARAM id) { log.push_back(L"timer " + std::to_wstring(id)); }
    LRESULT OnDouble(WPARAM wParam, LPARAM) { return static_cast<LRESULT>(wParam) * 2; }
    LRESULT OnQueryDragIcon() { return 0x1234; }
    // Handled (and so swallowed) only while blocking.
    bool OnSetText(WPARAM, LPARAM) { return blockCaptionChanges; }

    // Tables loaded from resources belong to the module; nothing to free.
    HACCEL accelerators =
        LoadAcceleratorsW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_TEST_ACCELERATORS));
};

TEST(DialogDispatch, WindowProcFirstThenTheRouteOfControlAndNotificationCode) {
    RoutedDialog dialog;
    const auto sendAll = [&] {
        const auto button = reinterpret_cast<LPARAM>(dialog.Item(IDC_TEST_BUTTON));
        const auto text = reinterpret_cast<LPARAM>(dialog.Item(IDC_TEST_TEXT));
        const struct {
            int id;
            int code;
            LPARAM control;
            const wchar_t* route;
        } commands[] = {
            // Other codes of the same controls run no route; from a control, 1 is one of them.
            {IDC_TEST_BUTTON, BN_SETFOCUS, button, nullptr},
            {IDC_TEST_BUTTON, 1, button, nullptr},
            {IDC_TEST_TEXT, EN_SETFOCUS, text, nullptr},
            {IDC_TEST_TEXT, BN_CLICKED, text, nullptr},
            {IDC_TEST_BUTTON, BN_CLICKED, button, L"click"},
            {IDC_TEST_TEXT, EN_CHANGE, text, L"change"},
            // Without a control: a menu item (0) or an accelerator (1), both clicks.
            {IDC_TEST_BUTTON, 0, 0, L"click"},
            {IDC_TEST_BUTTON, 1, 0, L"click"},
        };
        for (const auto& [id, code, control, route] : commands) {
            dialog.log.clear();
            SendMessageW(dialog.Window(), WM_COMMAND, MAKEWPARAM(id, code), control);
            std::vector<std::wstring> expected = {L"hook"};
            if (route) {
                expected.push_back(route);
            }
            EXPECT_EQ(dialog.log, expected) << "control " << id << ", code " << code;
        }
        dialog.log.clear();
        SendMessageW(dialog.Window(), WM_TIMER, 7, 0);
        EXPECT_EQ(dialog.log, (std::vector<std::wstring>{L"hook", L"timer 7"}));
    };
    EXPECT_EQ(dialog.Run({sendAll}), ScriptedDialog::kStepsDone);
}

TEST(DialogDispatch, AcceleratorKeyReachesItsCommandRoute) {
    RoutedDialog dialog;
    std::array<BYTE, 256> savedKeys{};
    // Alt+A as far as the thread's keyboard state and its message queue go.
    const auto pressAltA = [&] {
        dialog.log.clear();
        GetKeyboardState(savedKeys.data());
        std::array<BYTE, 256> keys = savedKeys;
        keys[VK_MENU] = keys[VK_LMENU] = 0x80;
        SetKeyboardState(keys.data());
        const UINT scan = MapVirtualKeyW('A', MAPVK_VK_TO_VSC);
        PostMessageW(dialog.Item(IDC_TEST_TEXT), WM_SYSKEYDOWN, 'A', 0x20000000 | (scan << 16) | 1);
    };
    const auto check = [&] {
        SetKeyboardState(savedKeys.data());
        EXPECT_EQ(dialog.log, (std::vector<std::wstring>{L"hook", L"accelerator"}));
    };
    EXPECT_EQ(dialog.Run({pressAltA, check}), ScriptedDialog::kStepsDone);
}

TEST(DialogDispatch, HelpGoesToTheOwnRouteElseToTheOwningDialogsHelpRequest) {
    RoutedDialog owner;
    const auto pressHelp = [](ScriptedDialog& dialog) {
        dialog.Run({[&] { SendMessageW(dialog.Item(ID_TEST_HELP), BM_CLICK, 0, 0); }});
    };
    const auto count = [](const std::vector<std::wstring>& log, const wchar_t* entry) {
        return std::count(log.begin(), log.end(), entry);
    };
    const auto helpInOwnedDialogs = [&] {
        ScriptedDialog unrouted(IDD_TEST_CONTROLS, owner.Window());
        pressHelp(unrouted);
        EXPECT_EQ(count(owner.log, L"help request"), 1);
        RoutedDialog routed(owner.Window());
        pressHelp(routed);
        EXPECT_EQ(count(routed.log, L"help topic"), 1);
        EXPECT_EQ(count(owner.log, L"help request"), 1);
    };
    EXPECT_EQ(owner.Run({helpInOwnedDialogs}), ScriptedDialog::kStepsDone);
}

TEST(DialogDispatch, AnswersTheDialogManagerByItsRule) {
    RoutedDialog dialog;
    const auto ask = [&] {
        const HWND window = dialog.Window();
        // An ordinary message answers through DWLP_MSGRESULT, these few by the procedure's own
        // return value.
        EXPECT_EQ(SendMessageW(window, kDoubleMessage, 21, 0), 42);
        EXPECT_EQ(SendMessageW(window, WM_QUERYDRAGICON, 0, 0), 0x1234);
        // A handler that declines leaves the message to the default processing.
        dialog.blockCaptionChanges = true;
        SetWindowTextW(window, L"Blocked");
        EXPECT_EQ(ReadWindowText(window), L"Framework Test");
        dialog.blockCaptionChanges = false;
        SetWindowTextW(window, L"Allowed");
        EXPECT_EQ(ReadWindowText(window), L"Allowed");
    };
    EXPECT_EQ(dialog.Run({ask}), ScriptedDialog::kStepsDone);
}

} // namespace
