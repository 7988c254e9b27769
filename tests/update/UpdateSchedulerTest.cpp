// The update scheduler in the test dialog, with real timers and worker threads that run the
// test's own body, through one life of the program: start-up, "Update Now", the system's notices,
// a full-screen application and the end.

#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <atomic>
#include <functional>
#include <tuple>

#include "tests/win/TestDialog.h"

namespace {

constexpr UINT kAppBarMessage = WM_APP + 7;
constexpr wchar_t kKey[] = L"Software\\Pembrix\\Pembrix Gloamery";

// Waits until the condition holds, handling the thread's messages meanwhile unless told not to;
// false when it still fails after a generous while (a guard against hanging, not a speed check).
bool WaitUntil(const std::function<bool()>& condition, bool handleMessages = true) {
    const ULONGLONG giveUp = GetTickCount64() + 30000;
    while (!condition() && GetTickCount64() < giveUp) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        for (MSG message; handleMessages && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);) {
            DispatchMessageW(&message);
        }
    }
    return condition();
}

// What the test's workers saw. A worker runs below normal priority and writes its progress to
// the store it is given; it clears the cancel request only after one came, as a worker that
// starts late would, so that only a repeated request stops it. Then it sends the dialog a display
// change, as setting the wallpaper does, and returns 259, the exit code that also means "still
// running".
std::atomic<HWND> workerDialog;
std::atomic<int> workersStarted;
// Asked to stop the first time; stopped by a repeated request, its message answered.
std::atomic<bool> workerAsked, workerStopped;

unsigned WorkerBody(void* argument) {
    auto& settings = *static_cast<SettingsStore*>(argument);
    const auto cancelled = [&] { return WaitUntil([&] { return settings.GetCancel() == 1; }); };
    EXPECT_EQ(GetThreadPriority(GetCurrentThread()), THREAD_PRIORITY_BELOW_NORMAL);
    ++workersStarted;
    settings.SetProgress(42);
    workerAsked = cancelled();
    settings.SetCancel(0);
    workerStopped = cancelled() &&
                    SendMessageTimeoutW(workerDialog, WM_DISPLAYCHANGE, 32, 0, 0, 30000, nullptr);
    return STILL_ACTIVE;
}

// Settings that another process saves while the program runs.
void SaveFromOutside(DWORD minutes, DWORD disabled) {
    RegSetKeyValueW(HKEY_CURRENT_USER, kKey, L"UpdateFreqMins", REG_DWORD, &minutes, 4);
    RegSetKeyValueW(HKEY_CURRENT_USER, kKey, L"Disabled", REG_DWORD, &disabled, 4);
}

TEST(UpdateScheduler, RunsOneWorkerAtATimeAsTheSettingsAndTheSystemSay) {
    RegDeleteTreeW(HKEY_CURRENT_USER, kKey);
    SettingsStore settings;
    UpdateScheduler scheduler(settings, &WorkerBody);
    TestDialog dialog;
    dialog.scheduler = &scheduler;
    dialog.Run({[&] {
        const HWND button = dialog.Item(IDC_TEST_BUTTON), bar = dialog.Item(IDC_TEST_PROGRESS);
        workerDialog = dialog.Window();
        scheduler.Attach({dialog.Window(), button, bar, kAppBarMessage});
        // Whether the button is enabled, whether the bar has its place and what it shows, whether a
        // worker runs, whether it is asked to stop, and whether the update timer was re-armed since
        // the last look (KillTimer tells; the test arms none itself).
        const auto state = [&] {
            return std::tuple(IsWindowEnabled(button),
                              (GetWindowLongW(bar, GWL_STYLE) & ~GetWindowLongW(button, GWL_STYLE) &
                               WS_VISIBLE) != 0,
                              SendMessageW(bar, PBM_GETPOS, 0, 0), scheduler.IsUpdating(),
                              settings.GetCancel(),
                              KillTimer(dialog.Window(), UpdateScheduler::kUpdateTimer));
        };
        // Notices that act as a periodic tick, and others.
        const std::tuple<UINT, WPARAM, LPARAM, bool> notices[] = {
            {WM_DISPLAYCHANGE, 32, 0, true},
            {WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0, true},
            {WM_TIMECHANGE, 0, 0, true},
            {WM_POWERBROADCAST, PBT_APMSUSPEND, 0, false},
            {kAppBarMessage, ABN_FULLSCREENAPP, 0, false}, // closed, never opened
            {WM_USER + 100, ABN_FULLSCREENAPP, 1, false}}; // not the message handed over
        // Disabled keeps the button off and updates from starting, the first one still pending;
        // NoBootUpdate skips that first one only. The periodic tick reloads the settings.
        settings.SetNoBootUpdate(1);
        SaveFromOutside(15, 1);
        SendMessageW(dialog.Window(), WM_TIMER, UpdateScheduler::kUpdateTimer, 0);
        EXPECT_EQ(state(), std::tuple(FALSE, false, 0, false, 0, TRUE));
        SaveFromOutside(15, 0);
        SendMessageW(dialog.Window(), WM_TIMER, UpdateScheduler::kUpdateTimer, 0);
        EXPECT_EQ(state(), std::tuple(TRUE, false, 0, false, 0, TRUE));

        // "Update Now" re-arms the timer from the settings in memory and starts a worker; the
        // bar takes the button's place and shows its progress.
        SaveFromOutside(30, 0);
        scheduler.OnUpdateNow();
        EXPECT_EQ(settings.GetUpdateFreqMins(), 15);
        EXPECT_TRUE(WaitUntil([&] { return SendMessageW(bar, PBM_GETPOS, 0, 0) == 42; }));
        EXPECT_EQ(state(), std::tuple(TRUE, true, 42, true, 0, TRUE));

        // A tick re-arms the timer; while a worker runs it neither starts a second one nor stops
        // the first.
        for (const auto& [message, wParam, lParam, ticks] : notices) {
            SendMessageW(dialog.Window(), message, wParam, lParam);
            EXPECT_EQ(state(), std::tuple(TRUE, true, 42, true, 0, ticks)) << message;
        }

        // A full-screen application stops the worker and holds updates back; once the worker
        // has ended, the progress is cleared and the button is back.
        SendMessageW(dialog.Window(), kAppBarMessage, ABN_FULLSCREENAPP, 1);
        // The worker is asked at once, not at the next poll of its progress: this thread
        // handles no message meanwhile.
        EXPECT_TRUE(WaitUntil([] { return workerAsked.load(); }, false));
        ASSERT_TRUE(WaitUntil([&] { return !scheduler.IsUpdating(); }));
        scheduler.OnUpdateNow();
        EXPECT_EQ(std::tuple(state(), settings.GetProgress(), workerStopped.load()),
                  std::tuple(std::tuple(TRUE, false, 0, false, 1, TRUE), 0, true));

        // Its end starts an update with the settings saved meanwhile. The dialog's end stops the
        // worker, answering what it sends meanwhile; after that nothing starts or reloads.
        SaveFromOutside(45, 0);
        SendMessageW(dialog.Window(), kAppBarMessage, ABN_FULLSCREENAPP, 0);
        workerStopped = false;
        SaveFromOutside(99, 0);
        scheduler.OnDestroy();
        scheduler.OnUpdateNow();
        EXPECT_EQ(std::tuple(scheduler.IsUpdating(), settings.GetUpdateFreqMins(),
                             workersStarted.load(), workerStopped.load()),
                  std::tuple(false, 45, 2, true));
    }});
    RegDeleteTreeW(HKEY_CURRENT_USER, kKey);
}

} // namespace
