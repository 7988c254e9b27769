#pragma once
// The one dialog of the framework's tests. It runs a script of steps inside its own modal loop,
// each step on a posted message of its own, so that what a step posts is handled before the next
// runs; after the last step it ends with kDone on a timer, which comes only once the queue is
// quiet (the quit request included). Its routes log what they run; it binds four members, offers
// keys to an accelerator table first and forwards its messages and timers to an update
// scheduler, as the main dialog does.

#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "TestDialogIds.h"
#include "update/UpdateScheduler.h"
#include "win/CommandIds.h"
#include "win/Dialog.h"

class TestDialog : public Dialog {
public:
    using Step = std::function<void()>;
    static constexpr INT_PTR kDone = 4242;

    // With the id of another template when a test asks for one.
    explicit TestDialog(HWND owner = nullptr, int id = IDD_TEST) : Dialog(id, owner) {}

    INT_PTR Run(std::vector<Step> script) {
        steps = std::move(script);
        next = 0;
        return DoModal();
    }

    Step onInit = [] {}; // at the end of OnInitDialog
    std::wstring log;
    // An idle one, never attached, unless a test hands its own.
    UpdateScheduler* scheduler = &idle;
    // The bound members.
    std::wstring text;
    int checked = 0;
    std::uint32_t first = 0, second = 0;
    auto Members() const { return std::tuple(text, checked, first, second); }

    // Noted, then handed on as by default: to the owning dialog.
    void WinHelpW(DWORD_PTR data, UINT command) override {
        log += L"help request ";
        Dialog::WinHelpW(data, command);
    }

private:
    BOOL OnInitDialog() override {
        Dialog::OnInitDialog();
        log.clear(); // of the changes that filling the controls made
        onInit();
        PostMessageW(Window(), kStep, 0, 0);
        return TRUE;
    }

    void DoDataExchange(DataExchange& exchange) override {
        exchange.Text(IDC_TEST_TEXT, text);
        exchange.Check(IDC_TEST_CHECK, checked);
        exchange.Number(IDC_TEST_FIRST_NUMBER, first);
        exchange.Number(IDC_TEST_SECOND_NUMBER, second);
    }

    bool PreTranslateMessage(MSG& message) override {
        return TranslateAcceleratorW(Window(), accelerators, &message) ||
               Dialog::PreTranslateMessage(message);
    }

    MessageResult WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        scheduler->WindowProc(message, wParam, lParam);
        if (message == WM_TIMER) {
            wParam == kStep ? EndDialog(kDone) : scheduler->OnTimer(wParam);
        } else if (message != kStep) {
            return Dialog::WindowProc(message, wParam, lParam);
        } else if (next == steps.size()) {
            SetTimer(Window(), kStep, 1, nullptr);
        } else if (steps[next++](); Window()) {
            PostMessageW(Window(), kStep, 0, 0);
        }
        return 0;
    }

    std::span<const CommandRoute> Commands() const override {
        static constexpr CommandRoute routes[] = {
            {IDC_TEST_BUTTON, BN_CLICKED, CommandHandler<&TestDialog::OnClick>},
            {IDC_TEST_TEXT, EN_CHANGE, CommandHandler<&TestDialog::OnChange>},
        };
        return routes;
    }

    std::span<const MessageRoute> Messages() const override {
        static constexpr MessageRoute routes[] = {
            {WM_QUERYDRAGICON, MessageHandler<&TestDialog::OnQueryDragIcon>},
            {WM_SETTEXT, MessageHandler<&TestDialog::OnSetText>},
        };
        return routes;
    }

    static constexpr UINT kStep = WM_APP + 100;
    static inline SettingsStore noSettings;
    static inline UpdateScheduler idle{noSettings, nullptr};

    void OnClick() { log += L"click "; }
    void OnChange() noexcept { log += L"change "; }
    LRESULT OnQueryDragIcon() { return 0x1234; }
    // Handled, and so kept from the default processing, for one caption only.
    bool OnSetText(WPARAM, LPARAM caption) {
        return std::wstring_view(reinterpret_cast<const wchar_t*>(caption)) == L"Blocked";
    }

    // F5 clicks the button: a key and a click share one route.
    static inline ACCEL f5{FVIRTKEY, VK_F5, IDC_TEST_BUTTON};
    static inline HACCEL accelerators = CreateAcceleratorTableW(&f5, 1);
    std::vector<Step> steps;
    size_t next = 0;
};
