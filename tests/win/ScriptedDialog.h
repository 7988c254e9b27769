#pragma once
// A test dialog that runs a list of steps inside its own modal loop, each step on a turn of
// its own: messages that one step posts are handled before the next step runs. When the steps
// run out the dialog ends with kStepsDone, but only once its queue is quiet: a timer message
// comes after every posted message, the quit request included.

#include <functional>
#include <utility>
#include <vector>

#include "win/Dialog.h"

class ScriptedDialog : public Dialog {
public:
    using Step = std::function<void()>;
    static constexpr INT_PTR kStepsDone = 4242;

    explicit ScriptedDialog(int templateId, HWND owner = nullptr) : Dialog(templateId, owner) {}

    INT_PTR Run(std::vector<Step> script) {
        steps = std::move(script);
        next = 0;
        return DoModal();
    }

    // Runs at the end of OnInitDialog, before the first step is posted.
    Step onInit;

protected:
    BOOL OnInitDialog() override {
        const BOOL focusDefault = Dialog::OnInitDialog();
        if (onInit) {
            onInit();
        }
        PostMessageW(Window(), kRunStep, 0, 0);
        return focusDefault;
    }

    MessageResult WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_TIMER && wParam == kStepsDoneTimer) {
            KillTimer(Window(), kStepsDoneTimer);
            EndDialog(kStepsDone);
            return 0;
        }
        if (message != kRunStep) {
            return Dialog::WindowProc(message, wParam, lParam);
        }
        if (next < steps.size()) {
            steps[next++]();
            if (Window()) {
                PostMessageW(Window(), kRunStep, 0, 0);
            }
        } else {
            SetTimer(Window(), kStepsDoneTimer, 1, nullptr);
        }
        return 0;
    }

private:
    static constexpr UINT kRunStep = WM_APP + 100;
    static constexpr UINT_PTR kStepsDoneTimer = 0x5EED;
    std::vector<Step> steps;
    size_t next = 0;
};
