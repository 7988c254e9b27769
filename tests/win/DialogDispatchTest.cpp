// How a dialog hands messages and commands to its handlers, and how it answers the dialog
// manager.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ScriptedDialog.h"
#include "TestDialogIds.h"
#include "win/WindowText.h"

namespace {

constexpr UINT kDoubleMessage = WM_APP + 5;

class RoutedDialog : public ScriptedDialog {
public:
    RoutedDialog() : ScriptedDialog(IDD_TEST_CONTROLS) {}

    std::vector<std::wstring> log;
    bool blockCaptionChanges = false;

protected:
    MessageResult WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_TIMER || message == WM_COMMAND) {
            log.push_back(L"hook " + std::to_wstring(message));
        }
        return ScriptedDialog::WindowProc(message, wParam, lParam);
    }

    std::span<const CommandRoute> Commands() const override {
        static constexpr CommandRoute routes[] = {
            {IDC_TEST_BUTTON, BN_CLICKED, CommandHandler<&RoutedDialog::OnButtonClicked>},
            {IDC_TEST_TEXT, EN_CHANGE, CommandHandler<&RoutedDialog::OnTextChanged>},
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
    void OnTimer(WPARAM id) { log.push_back(L"timer " + std::to_wstring(id)); }
    LRESULT OnDouble(WPARAM wParam, LPARAM) { return static_cast<LRESULT>(wParam) * 2; }
    LRESULT OnQueryDragIcon() { return 0x1234; }
    // Handled (and so swallowed) only while blocking.
    bool OnSetText(WPARAM, LPARAM) { return blockCaptionChanges; }
};

WPARAM Command(int id, int code) {
    return MAKEWPARAM(id, code);
}

LPARAM ControlOf(const Dialog& dialog, int id) {
    return reinterpret_cast<LPARAM>(dialog.Item(id));
}

TEST(DialogDispatch, CommandRoutesMatchControlAndNotificationCode) {
    RoutedDialog dialog;
    std::vector<std::wstring> seen;
    dialog.Run({[&] {
        dialog.log.clear();
        const HWND window = dialog.Window();
        const LPARAM button = ControlOf(dialog, IDC_TEST_BUTTON);
        const LPARAM text = ControlOf(dialog, IDC_TEST_TEXT);
        SendMessageW(window, WM_COMMAND, Command(IDC_TEST_BUTTON, BN_SETFOCUS), button);
        SendMessageW(window, WM_COMMAND, Command(IDC_TEST_BUTTON, BN_KILLFOCUS), button);
        SendMessageW(window, WM_COMMAND, Command(IDC_TEST_TEXT, EN_SETFOCUS), text);
        SendMessageW(window, WM_COMMAND, Command(IDC_TEST_TEXT, BN_CLICKED), text);
        SendMessageW(window, WM_COMMAND, Command(IDC_TEST_BUTTON, BN_CLICKED), button);
        SendMessageW(window, WM_COMMAND, Command(IDC_TEST_TEXT, EN_CHANGE), text);
        seen = dialog.log;
    }});
    const std::vector<std::wstring> expected = {L"hook 273", L"hook 273", L"hook 273", L"hook 273",
                                                L"hook 273", L"click",    L"hook 273", L"change"};
    EXPECT_EQ(seen, expected);
}

TEST(DialogDispatch, RealControlNotificationsReachTheirRoutes) {
    RoutedDialog dialog;
    int clicks = 0;
    int changes = 0;
    dialog.Run({[&] {
        dialog.log.clear();
        SendMessageW(dialog.Item(IDC_TEST_BUTTON), BM_CLICK, 0, 0);
        SetWindowTextW(dialog.Item(IDC_TEST_TEXT), L"typed");
        for (const auto& entry : dialog.log) {
            clicks += entry == L"click";
            changes += entry == L"change";
        }
    }});
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(changes, 1);
}

TEST(DialogDispatch, MenuAndAcceleratorCommandsCountAsClicks) {
    RoutedDialog dialog;
    std::vector<std::wstring> seen;
    dialog.Run({[&] {
        dialog.log.clear();
        const HWND window = dialog.Window();
        // Accelerator: code 1 without a control. From a control, code 1 is another event.
        SendMessageW(window, WM_COMMAND, Command(IDC_TEST_BUTTON, 1), 0);
        SendMessageW(window, WM_COMMAND, Command(IDC_TEST_BUTTON, 1),
                     ControlOf(dialog, IDC_TEST_BUTTON));
        // Menu item: code 0 without a control.
        SendMessageW(window, WM_COMMAND, Command(IDC_TEST_BUTTON, 0), 0);
        seen = dialog.log;
    }});
    const std::vector<std::wstring> expected = {L"hook 273", L"click", L"hook 273", L"hook 273",
                                                L"click"};
    EXPECT_EQ(seen, expected);
}

TEST(DialogDispatch, WindowProcSeesMessagesBeforeTheirHandlers) {
    RoutedDialog dialog;
    std::vector<std::wstring> seen;
    dialog.Run({[&] {
        dialog.log.clear();
        SendMessageW(dialog.Window(), WM_TIMER, 7, 0);
        seen = dialog.log;
    }});
    const std::vector<std::wstring> expected = {L"hook 275", L"timer 7"};
    EXPECT_EQ(seen, expected);
}

TEST(DialogDispatch, AnswersTheDialogManagerByItsRule) {
    RoutedDialog dialog;
    LRESULT doubled = 0;
    LRESULT dragIcon = 0;
    dialog.Run({[&] {
        // An ordinary message answers through DWLP_MSGRESULT ...
        doubled = SendMessageW(dialog.Window(), kDoubleMessage, 21, 0);
        // ... these few by the procedure's own return value.
        dragIcon = SendMessageW(dialog.Window(), WM_QUERYDRAGICON, 0, 0);
    }});
    EXPECT_EQ(doubled, 42);
    EXPECT_EQ(dragIcon, 0x1234);
}

TEST(DialogDispatch, UnhandledMessagesGetDefaultProcessing) {
    RoutedDialog dialog;
    std::wstring blocked;
    std::wstring allowed;
    dialog.Run({[&] {
        dialog.blockCaptionChanges = true;
        SetWindowTextW(dialog.Window(), L"Blocked");
        blocked = ReadWindowText(dialog.Window());
        dialog.blockCaptionChanges = false;
        SetWindowTextW(dialog.Window(), L"Allowed");
        allowed = ReadWindowText(dialog.Window());
    }});
    EXPECT_EQ(blocked, L"Framework Test");
    EXPECT_EQ(allowed, L"Allowed");
}

} // namespace
