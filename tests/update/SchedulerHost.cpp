#include "SchedulerHost.h"

#include <commctrl.h>

#include <chrono>

#include "settings/SettingsStore.h"

WorkerProbe probe;

namespace {

INT_PTR CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(window, DWLP_USER, lParam);
        return TRUE;
    }
    auto* scheduler = reinterpret_cast<UpdateScheduler*>(GetWindowLongPtrW(window, DWLP_USER));
    if (!scheduler) {
        return FALSE;
    }
    scheduler->WindowProc(message, wParam, lParam);
    switch (message) {
    case WM_TIMER:
        scheduler->OnTimer(wParam);
        return TRUE;
    case WM_DESTROY:
        scheduler->OnDestroy();
        return TRUE;
    default:
        return FALSE;
    }
}

// Long enough for any machine; reached only when something is broken.
constexpr auto kGiveUpAfter = std::chrono::seconds(30);

} // namespace

UniqueWindow CreateSchedulerHost(UpdateScheduler& scheduler) {
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&classes);
    UniqueWindow host(CreateDialogParamW(GetModuleHandleW(nullptr),
                                         MAKEINTRESOURCEW(kSchedulerHostTemplate), nullptr,
                                         &HostProc, reinterpret_cast<LPARAM>(&scheduler)));
    if (host) {
        scheduler.Attach(host.get());
    }
    return host;
}

bool PumpUntil(const std::function<bool()>& condition) {
    const auto giveUp = std::chrono::steady_clock::now() + kGiveUpAfter;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > giveUp) {
            return false;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return true;
}

void WorkerProbe::Reset() {
    entered = 0;
    runs = 0;
    finished = 0;
    priority = 0;
    argument = nullptr;
    sawCancel = false;
    progress = 0;
    requestComesFirst = false;
    sendsBeforeEnd = nullptr;
    sendAnswered = false;
    ResetEvent(release.get());
}

unsigned ProbeBody(void* argument) {
    auto& settings = *static_cast<SettingsStore*>(argument);
    ++probe.entered;
    probe.argument = argument;
    probe.priority = GetThreadPriority(GetCurrentThread());
    const auto giveUp = std::chrono::steady_clock::now() + kGiveUpAfter;
    if (probe.requestComesFirst) {
        while (settings.GetCancel() != 1 && std::chrono::steady_clock::now() < giveUp) {
            Sleep(5);
        }
    }
    settings.SetCancel(0);
    settings.SetProgress(probe.progress);
    ++probe.runs;
    while (std::chrono::steady_clock::now() < giveUp) {
        if (settings.GetCancel() == 1) {
            probe.sawCancel = true;
            break;
        }
        if (WaitForSingleObject(probe.release.get(), 5) == WAIT_OBJECT_0) {
            break;
        }
    }
    if (const HWND target = probe.sendsBeforeEnd; target && probe.sawCancel) {
        DWORD_PTR answer = 0;
        probe.sendAnswered =
            SendMessageTimeoutW(target, WM_DISPLAYCHANGE, 32, 0, SMTO_NORMAL,
                                static_cast<UINT>(kGiveUpAfter.count() * 1000), &answer) != 0;
    }
    ++probe.finished;
    return 0;
}

void DeleteSettingsKey() {
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Pembrix\\Pembrix Gloamery");
}
