#include "update/UpdateScheduler.h"

#include <commctrl.h>
#include <shellapi.h>

#include "update/UpdatePeriod.h"

namespace {

constexpr UINT kProgressPollMs = 500;
constexpr DWORD kStopPollMs = 100;

// Waits up to the given time for the thread to end, handling meanwhile the messages that other
// threads send to this one: installing the wallpaper tells every top-level window, this dialog
// included, and the worker would otherwise wait for a dialog that waits for it.
void WaitServingSentMessages(HANDLE thread, DWORD milliseconds) {
    if (MsgWaitForMultipleObjects(1, &thread, FALSE, milliseconds, QS_SENDMESSAGE) ==
        WAIT_OBJECT_0 + 1) {
        MSG message;
        PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

} // namespace

UpdateScheduler::~UpdateScheduler() {
    StopWorker();
}

void UpdateScheduler::Attach(const Host& pieces) {
    host = pieces;
    fullScreenPaused = false;
    firstUpdateDone = false;
    ShowProgressBar(false);
}

void UpdateScheduler::StartUpdate() {
    if (!host.dialog || workerThread || fullScreenPaused) {
        return;
    }
    if (settings.GetDisabled() == 1) {
        return;
    }
    if (!firstUpdateDone) {
        // Set before the test, so that only the very first update is skipped.
        firstUpdateDone = true;
        if (settings.GetNoBootUpdate() == 1) {
            return;
        }
    }
    if (!workerThread.Start(body, &settings, THREAD_PRIORITY_BELOW_NORMAL)) {
        return;
    }
    ShowProgressBar(true);
    SetTimer(host.dialog, kProgressTimer, kProgressPollMs, nullptr);
}

void UpdateScheduler::EnableUpdateButton() {
    if (host.dialog) {
        EnableWindow(host.updateButton, settings.GetDisabled() != 1);
    }
}

void UpdateScheduler::ArmUpdateTimer() {
    if (!host.dialog) {
        return;
    }
    KillTimer(host.dialog, kUpdateTimer);
    SetTimer(host.dialog, kUpdateTimer, UpdatePeriodMilliseconds(settings.GetUpdateFreqMins()),
             nullptr);
}

void UpdateScheduler::OnUpdateNow() {
    ArmUpdateTimer();
    StartUpdate();
}

void UpdateScheduler::OnTimer(UINT_PTR id) {
    if (id == kUpdateTimer) {
        PeriodicTick();
    } else if (id == kProgressTimer) {
        PollProgress();
    }
}

void UpdateScheduler::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_DISPLAYCHANGE:
    case WM_TIMECHANGE:
        PeriodicTick();
        break;
    case WM_POWERBROADCAST:
        if (wParam == PBT_APMRESUMEAUTOMATIC) {
            PeriodicTick();
        }
        break;
    default:
        if (message == host.appBarMessage && wParam == ABN_FULLSCREENAPP) {
            OnFullScreenApplication(lParam == 1);
        }
        break;
    }
}

void UpdateScheduler::OnDestroy() {
    if (host.dialog) {
        KillTimer(host.dialog, kUpdateTimer);
        KillTimer(host.dialog, kProgressTimer);
    }
    // Let go first: messages that reach the dialog during the wait start nothing.
    host = {};
    StopWorker();
}

void UpdateScheduler::PeriodicTick() {
    if (!host.dialog) {
        return;
    }
    settings.Load();
    EnableUpdateButton();
    ArmUpdateTimer();
    StartUpdate();
}

void UpdateScheduler::PollProgress() {
    if (!host.dialog) {
        return;
    }
    if (workerThread) {
        SendMessageW(host.progressBar, PBM_SETPOS, settings.GetProgress(), 0);
        if (workerThread.IsRunning()) {
            // Asked again while paused: see StopWorker.
            if (fullScreenPaused) {
                settings.SetCancel(1);
            }
            return;
        }
    }
    KillTimer(host.dialog, kProgressTimer);
    workerThread.Forget();
    SendMessageW(host.progressBar, PBM_SETPOS, 0, 0);
    settings.SetProgress(0);
    ShowProgressBar(false);
}

void UpdateScheduler::OnFullScreenApplication(bool opened) {
    if (opened) {
        fullScreenPaused = true;
        if (workerThread) {
            settings.SetCancel(1);
        }
    } else if (fullScreenPaused) {
        fullScreenPaused = false;
        PeriodicTick();
    }
}

void UpdateScheduler::StopWorker() {
    // The request is repeated on every step: the worker clears it when it starts, so one made
    // just before that moment would be lost. The wait has no limit; it lasts as long as the
    // worker's longest step between two looks at the request.
    while (workerThread.IsRunning()) {
        settings.SetCancel(1);
        WaitServingSentMessages(workerThread.Handle(), kStopPollMs);
    }
    workerThread.Forget();
}

void UpdateScheduler::ShowProgressBar(bool show) {
    if (!host.dialog) {
        return;
    }
    ShowWindow(host.progressBar, show ? SW_SHOW : SW_HIDE);
    ShowWindow(host.updateButton, show ? SW_HIDE : SW_SHOW);
}
