// The update scheduler in a real hidden dialog with real timers and worker threads; the
// worker body is the test's own.

#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <tuple>

#include "settings/SettingsStore.h"
#include "ui/ResourceIds.h"
#include "update/UpdateScheduler.h"
#include "win/Handles.h"

namespace {

// Long enough for any machine; reached only when something is broken.
constexpr auto kGiveUpAfter = std::chrono::seconds(30);

// What the test worker body is told and what it saw. It clears the cancel request first, as the
// composer does, writes `progress` and then runs until it is released or sees a cancel request.
struct WorkerProbe {
    int progress = 0;
    // Waits for a cancel request before clearing it: a request made just before the worker got
    // going.
    bool requestComesFirst = false;
    // Once it has seen a cancel request, sends this window a display change before it ends (the
    // wallpaper change sends a message of its own the same way).
    HWND sendsBeforeEnd = nullptr;
    UniqueHandle release{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    std::atomic<int> entered = 0;
    std::atomic<int> runs = 0;
    std::atomic<int> finished = 0;
    std::atomic<int> priority = 0;
    std::atomic<void*> argument = nullptr;
    std::atomic<bool> sawCancel = false;
    std::atomic<bool> sendAnswered = false;
};

WorkerProbe* activeProbe = nullptr;

unsigned ProbeBody(void* argument) {
    WorkerProbe& probe = *activeProbe;
    auto& settings = *static_cast<SettingsStore*>(argument);
    ++probe.entered;
    probe.argument = argument;
    probe.priority = GetThreadPriority(GetCurrentThread());
    const auto giveUp = std::chrono::steady_clock::now() + kGiveUpAfter;
    while (probe.requestComesFirst && settings.GetCancel() != 1 &&
           std::chrono::steady_clock::now() < giveUp) {
        Sleep(5);
    }
    settings.SetCancel(0);
    settings.SetProgress(probe.progress);
    ++probe.runs;
    while (!probe.sawCancel && std::chrono::steady_clock::now() < giveUp &&
           WaitForSingleObject(probe.release.get(), 5) == WAIT_TIMEOUT) {
        probe.sawCancel = settings.GetCancel() == 1;
    }
    if (probe.sendsBeforeEnd && probe.sawCancel) {
        DWORD_PTR answer = 0;
        probe.sendAnswered =
            SendMessageTimeoutW(probe.sendsBeforeEnd, WM_DISPLAYCHANGE, 32, 0, SMTO_NORMAL,
                                static_cast<UINT>(kGiveUpAfter.count() * 1000), &answer) != 0;
    }
    ++probe.finished;
    return 0;
}

// Forwards to the scheduler the way the main dialog does.
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
    if (message == WM_TIMER) {
        scheduler->OnTimer(wParam);
    } else if (message == WM_DESTROY) {
        scheduler->OnDestroy();
    }
    return message == WM_TIMER || message == WM_DESTROY;
}

constexpr wchar_t kSettingsKey[] = L"Software\\Pembrix\\Pembrix Gloamery";

class UpdateSchedulerTest : public testing::Test {
protected:
    void SetUp() override {
        RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey);
        activeProbe = &probe;
        INITCOMMONCONTROLSEX classes{sizeof classes, ICC_PROGRESS_CLASS};
        InitCommonControlsEx(&classes);
        // The pieces of the main dialog that the scheduler works on, hidden as in a /s start.
        host.reset(CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(300), nullptr,
                                      &HostProc, reinterpret_cast<LPARAM>(&scheduler)));
        ASSERT_TRUE(host);
        scheduler.Attach({host.get(), GetDlgItem(host.get(), IDC_UPDATE_NOW),
                          GetDlgItem(host.get(), IDC_PROGRESS), WM_APPBAR_CALLBACK});
    }

    void TearDown() override {
        SetEvent(probe.release.get());
        host.reset();
        RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey);
    }

    bool Shown(int id) const {
        return (GetWindowLongW(GetDlgItem(host.get(), id), GWL_STYLE) & WS_VISIBLE) != 0;
    }
    bool Enabled(int id) const { return IsWindowEnabled(GetDlgItem(host.get(), id)); }
    LRESULT BarPosition() const {
        return SendDlgItemMessageW(host.get(), IDC_PROGRESS, PBM_GETPOS, 0, 0);
    }
    // KillTimer reports whether the timer was armed; the tests arm nothing themselves.
    bool WasArmed(UINT_PTR id) const { return KillTimer(host.get(), id); }
    void Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        SendMessageW(host.get(), message, wParam, lParam);
    }
    void PeriodicTick() const { Send(WM_TIMER, UpdateScheduler::kUpdateTimer); }
    void FullScreenApplication(LPARAM opened) const {
        Send(WM_APPBAR_CALLBACK, ABN_FULLSCREENAPP, opened);
    }

    // Handles the thread's messages until the condition holds; false when it still fails after
    // a generous while (a guard against hanging, not a speed check).
    static bool PumpUntil(const std::function<bool()>& condition) {
        const auto giveUp = std::chrono::steady_clock::now() + kGiveUpAfter;
        while (!condition()) {
            if (std::chrono::steady_clock::now() > giveUp) {
                return false;
            }
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
            MSG message;
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                DispatchMessageW(&message);
            }
        }
        return true;
    }
    bool WaitForRuns(int runs) const {
        return PumpUntil([this, runs] { return probe.runs == runs; });
    }
    bool WaitUntilIdle() const {
        return PumpUntil([this] { return !scheduler.IsUpdating(); });
    }

    // Settings that another process saves while the program runs.
    static void SaveFromOutside(int updateFreqMins, int disabled) {
        SettingsStore outside;
        outside.Load();
        outside.SetUpdateFreqMins(updateFreqMins);
        outside.SetDisabled(disabled);
        outside.Save();
    }

    // Declared before the scheduler, which waits for the worker when it goes.
    WorkerProbe probe;
    SettingsStore settings;
    UpdateScheduler scheduler{settings, &ProbeBody};
    UniqueWindow host;
};

TEST_F(UpdateSchedulerTest, NoBootUpdateSkipsOnlyTheFirstUpdate) {
    EXPECT_TRUE(Shown(IDC_UPDATE_NOW));
    EXPECT_FALSE(Shown(IDC_PROGRESS));
    settings.SetNoBootUpdate(1);
    scheduler.StartUpdate();
    EXPECT_FALSE(scheduler.IsUpdating());
    EXPECT_TRUE(Shown(IDC_UPDATE_NOW));
    scheduler.StartUpdate();
    EXPECT_TRUE(scheduler.IsUpdating());
    EXPECT_TRUE(WaitForRuns(1));
}

TEST_F(UpdateSchedulerTest, DisabledBlocksStartsAndKeepsTheFirstUpdatePending) {
    settings.SetNoBootUpdate(1);
    settings.SetDisabled(1);
    settings.Save();
    scheduler.EnableUpdateButton();
    EXPECT_FALSE(Enabled(IDC_UPDATE_NOW));
    scheduler.StartUpdate();
    PeriodicTick();
    EXPECT_FALSE(scheduler.IsUpdating());

    SaveFromOutside(15, 0);
    PeriodicTick(); // the start-up update, still pending, is the one skipped
    EXPECT_TRUE(Enabled(IDC_UPDATE_NOW));
    EXPECT_FALSE(scheduler.IsUpdating());
    PeriodicTick();
    EXPECT_TRUE(scheduler.IsUpdating());
    EXPECT_TRUE(WaitForRuns(1));
}

TEST_F(UpdateSchedulerTest, UpdateNowRunsAWorkerWhoseProgressIsShownUntilTheButtonReturns) {
    SaveFromOutside(30, 1);
    probe.progress = 42;
    scheduler.OnUpdateNow();
    // From the settings in memory: no reload.
    EXPECT_TRUE(WasArmed(UpdateScheduler::kUpdateTimer));
    EXPECT_EQ(settings.GetUpdateFreqMins(), 15);
    ASSERT_TRUE(WaitForRuns(1));
    EXPECT_EQ(probe.priority, THREAD_PRIORITY_BELOW_NORMAL);
    EXPECT_EQ(probe.argument, &settings);
    EXPECT_TRUE(Shown(IDC_PROGRESS));
    EXPECT_FALSE(Shown(IDC_UPDATE_NOW));
    EXPECT_TRUE(PumpUntil([this] { return BarPosition() == 42; }));
    EXPECT_TRUE(scheduler.IsUpdating());

    SetEvent(probe.release.get());
    ASSERT_TRUE(WaitUntilIdle());
    EXPECT_EQ(BarPosition(), 0);
    EXPECT_EQ(settings.GetProgress(), 0);
    EXPECT_TRUE(Shown(IDC_UPDATE_NOW));
    EXPECT_FALSE(Shown(IDC_PROGRESS));
    EXPECT_FALSE(WasArmed(UpdateScheduler::kProgressTimer));
}

TEST_F(UpdateSchedulerTest, TickWhileWorkerRunsReloadsButNeitherStartsNorCancels) {
    scheduler.StartUpdate();
    ASSERT_TRUE(WaitForRuns(1));
    SaveFromOutside(30, 0);
    PeriodicTick();
    EXPECT_EQ(settings.GetUpdateFreqMins(), 30);
    EXPECT_TRUE(WasArmed(UpdateScheduler::kUpdateTimer));
    EXPECT_EQ(settings.GetCancel(), 0);
    SetEvent(probe.release.get());
    ASSERT_TRUE(WaitUntilIdle());
    EXPECT_EQ(probe.entered, 1);
    EXPECT_FALSE(probe.sawCancel);
}

TEST_F(UpdateSchedulerTest, FullScreenApplicationCancelsWorkerAndItsEndStartsANewUpdate) {
    scheduler.StartUpdate();
    ASSERT_TRUE(WaitForRuns(1));
    FullScreenApplication(1);
    EXPECT_TRUE(scheduler.IsPaused());
    ASSERT_TRUE(WaitUntilIdle());
    EXPECT_TRUE(probe.sawCancel);
    EXPECT_TRUE(Shown(IDC_UPDATE_NOW));
    EXPECT_TRUE(Enabled(IDC_UPDATE_NOW));

    scheduler.OnUpdateNow(); // while paused, only the timer restarts
    EXPECT_FALSE(scheduler.IsUpdating());
    EXPECT_TRUE(WasArmed(UpdateScheduler::kUpdateTimer));

    FullScreenApplication(0);
    EXPECT_FALSE(scheduler.IsPaused());
    EXPECT_TRUE(scheduler.IsUpdating());
    EXPECT_TRUE(WaitForRuns(2));
}

// A worker that clears the cancel request only after it was made is stopped all the same, by
// the pause (true) or by the destruction (false).
class LateClearTest : public UpdateSchedulerTest, public testing::WithParamInterface<bool> {};

TEST_P(LateClearTest, StillStopsTheWorker) {
    probe.requestComesFirst = true;
    scheduler.StartUpdate();
    ASSERT_TRUE(PumpUntil([this] { return probe.entered == 1; }));
    if (GetParam()) {
        FullScreenApplication(1);
        ASSERT_TRUE(WaitUntilIdle());
    } else {
        host.reset();
    }
    EXPECT_EQ(probe.finished, 1);
    EXPECT_TRUE(probe.sawCancel);
}

INSTANTIATE_TEST_SUITE_P(PauseAndDestroy, LateClearTest, testing::Bool());

// What the shell and the system tell the dialog: some act as a periodic tick, the others
// (a full-screen application closing without having opened among them) do nothing.
using SystemEvent = std::tuple<UINT, WPARAM, LPARAM, bool>; // message, parameters, ticks

class SystemEventTest : public UpdateSchedulerTest,
                        public testing::WithParamInterface<SystemEvent> {};

TEST_P(SystemEventTest, ActsAsPeriodicTickOrNotAtAll) {
    const auto [message, wParam, lParam, ticks] = GetParam();
    SaveFromOutside(30, 0);
    Send(message, wParam, lParam);
    EXPECT_EQ(settings.GetUpdateFreqMins(), ticks ? 30 : 15);
    EXPECT_EQ(WasArmed(UpdateScheduler::kUpdateTimer), ticks);
    EXPECT_EQ(scheduler.IsUpdating(), ticks);
    EXPECT_FALSE(scheduler.IsPaused());
}

INSTANTIATE_TEST_SUITE_P(
    ShellAndSystem, SystemEventTest,
    testing::Values(SystemEvent{WM_DISPLAYCHANGE, 32, 0, true},
                    SystemEvent{WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0, true},
                    SystemEvent{WM_TIMECHANGE, 0, 0, true},
                    SystemEvent{WM_POWERBROADCAST, PBT_APMSUSPEND, 0, false},
                    SystemEvent{WM_APPBAR_CALLBACK, ABN_POSCHANGED, 1, false},
                    SystemEvent{WM_APPBAR_CALLBACK, ABN_FULLSCREENAPP, 0, false}));

TEST_F(UpdateSchedulerTest, DestroyCancelsTheWorkerAndWaitsAnsweringWhatItSends) {
    probe.sendsBeforeEnd = host.get();
    scheduler.StartUpdate();
    ASSERT_TRUE(WaitForRuns(1));
    SaveFromOutside(30, 0);
    host.reset();
    EXPECT_EQ(probe.finished, 1);
    EXPECT_TRUE(probe.sawCancel);
    EXPECT_TRUE(probe.sendAnswered);
    EXPECT_FALSE(scheduler.IsUpdating());
    // Neither the display change sent during the stop nor a later request starts anything.
    scheduler.StartUpdate();
    scheduler.OnUpdateNow();
    EXPECT_FALSE(scheduler.IsUpdating());
    EXPECT_EQ(settings.GetUpdateFreqMins(), 15);
    EXPECT_EQ(probe.entered, 1);
}

} // namespace
