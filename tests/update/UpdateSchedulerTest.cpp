// The update scheduler in a real hidden dialog with real timers and worker threads; the
// worker body is the test's own.

#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include "SchedulerHost.h"
#include "settings/SettingsStore.h"
#include "ui/ResourceIds.h"

namespace {

class UpdateSchedulerTest : public testing::Test {
protected:
    void SetUp() override {
        DeleteSettingsKey();
        probe.Reset();
        host = CreateSchedulerHost(scheduler);
        ASSERT_TRUE(host);
    }

    void TearDown() override {
        SetEvent(probe.release.get());
        host.reset();
        DeleteSettingsKey();
    }

    HWND Host() const { return host.get(); }
    bool Shown(int id) const {
        return (GetWindowLongW(GetDlgItem(Host(), id), GWL_STYLE) & WS_VISIBLE) != 0;
    }
    bool Enabled(int id) const { return IsWindowEnabled(GetDlgItem(Host(), id)); }
    LRESULT BarPosition() const {
        return SendDlgItemMessageW(Host(), IDC_PROGRESS, PBM_GETPOS, 0, 0);
    }
    // KillTimer reports whether the timer was armed; the tests arm nothing themselves.
    bool WasArmed(UINT_PTR id) const { return KillTimer(Host(), id); }
    void Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        SendMessageW(Host(), message, wParam, lParam);
    }
    void PeriodicTick() const { Send(WM_TIMER, UpdateScheduler::kUpdateTimer); }
    void FullScreenApplication(LPARAM opened) const {
        Send(WM_APPBAR_CALLBACK, ABN_FULLSCREENAPP, opened);
    }
    bool WaitForRuns(int runs) const {
        return PumpUntil([runs] { return probe.runs == runs; });
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

    SettingsStore settings;
    UpdateScheduler scheduler{settings, &ProbeBody};
    UniqueWindow host;
};

TEST_F(UpdateSchedulerTest, AttachShowsButtonAndHidesBar) {
    EXPECT_TRUE(Shown(IDC_UPDATE_NOW));
    EXPECT_FALSE(Shown(IDC_PROGRESS));
    EXPECT_FALSE(scheduler.IsUpdating());
    EXPECT_FALSE(scheduler.IsPaused());
}

TEST_F(UpdateSchedulerTest, WorkerRunsBelowNormalPriorityOnTheSettings) {
    scheduler.StartUpdate();
    ASSERT_TRUE(WaitForRuns(1));
    EXPECT_EQ(probe.priority, THREAD_PRIORITY_BELOW_NORMAL);
    EXPECT_EQ(probe.argument, &settings);
    EXPECT_TRUE(Shown(IDC_PROGRESS));
    EXPECT_FALSE(Shown(IDC_UPDATE_NOW));
}

TEST_F(UpdateSchedulerTest, NoBootUpdateSkipsOnlyTheFirstUpdate) {
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

TEST_F(UpdateSchedulerTest, ProgressPollMirrorsProgressThenRestoresTheButton) {
    probe.progress = 42;
    scheduler.StartUpdate();
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

TEST_F(UpdateSchedulerTest, UpdateNowRestartsTimerFromSettingsInMemory) {
    SaveFromOutside(30, 1);
    scheduler.OnUpdateNow();
    EXPECT_TRUE(WasArmed(UpdateScheduler::kUpdateTimer));
    EXPECT_EQ(settings.GetUpdateFreqMins(), 15);
    EXPECT_TRUE(scheduler.IsUpdating());
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

TEST_F(UpdateSchedulerTest, PauseStopsWorkerThatClearedTheRequestLate) {
    probe.requestComesFirst = true;
    scheduler.StartUpdate();
    ASSERT_TRUE(PumpUntil([] { return probe.entered == 1; }));
    FullScreenApplication(1);
    ASSERT_TRUE(WaitUntilIdle());
    EXPECT_TRUE(probe.sawCancel);
}

TEST_F(UpdateSchedulerTest, OtherShellNotificationsDoNothing) {
    SaveFromOutside(30, 0);
    FullScreenApplication(0); // closed without having opened
    Send(WM_APPBAR_CALLBACK, ABN_POSCHANGED, 1);
    Send(WM_POWERBROADCAST, PBT_APMSUSPEND);
    EXPECT_FALSE(scheduler.IsPaused());
    EXPECT_FALSE(scheduler.IsUpdating());
    EXPECT_EQ(settings.GetUpdateFreqMins(), 15);
    EXPECT_FALSE(WasArmed(UpdateScheduler::kUpdateTimer));
}

class SystemEventTest : public UpdateSchedulerTest,
                        public testing::WithParamInterface<std::pair<UINT, WPARAM>> {};

TEST_P(SystemEventTest, ActsAsPeriodicTick) {
    SaveFromOutside(30, 0);
    const auto [message, wParam] = GetParam();
    Send(message, wParam);
    EXPECT_EQ(settings.GetUpdateFreqMins(), 30);
    EXPECT_TRUE(WasArmed(UpdateScheduler::kUpdateTimer));
    EXPECT_TRUE(scheduler.IsUpdating());
}

INSTANTIATE_TEST_SUITE_P(DisplayResumeAndClock, SystemEventTest,
                         testing::Values(std::pair<UINT, WPARAM>{WM_DISPLAYCHANGE, 32},
                                         std::pair<UINT, WPARAM>{WM_POWERBROADCAST,
                                                                 PBT_APMRESUMEAUTOMATIC},
                                         std::pair<UINT, WPARAM>{WM_TIMECHANGE, 0}));

TEST_F(UpdateSchedulerTest, DestroyCancelsARunningWorkerAndWaitsForIt) {
    scheduler.StartUpdate();
    ASSERT_TRUE(WaitForRuns(1));
    host.reset();
    EXPECT_EQ(probe.finished, 1);
    EXPECT_TRUE(probe.sawCancel);
    EXPECT_FALSE(scheduler.IsUpdating());
}

TEST_F(UpdateSchedulerTest, DestroyWaitsForWorkerThatClearedTheRequestLate) {
    probe.requestComesFirst = true;
    scheduler.StartUpdate();
    ASSERT_TRUE(PumpUntil([] { return probe.entered == 1; }));
    host.reset();
    EXPECT_EQ(probe.finished, 1);
    EXPECT_TRUE(probe.sawCancel);
}

TEST_F(UpdateSchedulerTest, DestroyAnswersMessagesTheWorkerSendsMeanwhile) {
    probe.sendsBeforeEnd = Host();
    scheduler.StartUpdate();
    ASSERT_TRUE(WaitForRuns(1));
    SaveFromOutside(30, 0);
    host.reset();
    EXPECT_TRUE(probe.sendAnswered);
    EXPECT_EQ(probe.finished, 1);
    // The display change came during the stop: no reload, no new worker.
    EXPECT_EQ(settings.GetUpdateFreqMins(), 15);
    EXPECT_EQ(probe.entered, 1);
}

TEST_F(UpdateSchedulerTest, NothingStartsAfterDestroy) {
    host.reset();
    scheduler.StartUpdate();
    scheduler.OnUpdateNow();
    EXPECT_FALSE(scheduler.IsUpdating());
    EXPECT_EQ(probe.entered, 0);
}

} // namespace
