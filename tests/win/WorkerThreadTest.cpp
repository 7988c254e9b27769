// Starting a worker at a priority, watching it run and seeing it end.

#include <gtest/gtest.h>

#include "win/Handles.h"
#include "win/WorkerThread.h"

namespace {

struct Probe {
    UniqueHandle release{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    int priority = 0;
    void* argumentSeen = nullptr;
    unsigned exitCode = 0;
};

unsigned GatedEntry(void* argument) {
    auto* probe = static_cast<Probe*>(argument);
    probe->argumentSeen = argument;
    probe->priority = GetThreadPriority(GetCurrentThread());
    WaitForSingleObject(probe->release.get(), INFINITE);
    return probe->exitCode;
}

TEST(WorkerThread, RunsEntryWithItsArgumentAtThePriority) {
    Probe probe;
    probe.exitCode = 17;
    WorkerThread worker;
    ASSERT_TRUE(worker.Start(&GatedEntry, &probe, THREAD_PRIORITY_BELOW_NORMAL));
    EXPECT_TRUE(worker.IsRunning());
    SetEvent(probe.release.get());
    ASSERT_EQ(WaitForSingleObject(worker.Handle(), INFINITE), WAIT_OBJECT_0);
    EXPECT_FALSE(worker.IsRunning());
    EXPECT_EQ(probe.argumentSeen, &probe);
    EXPECT_EQ(probe.priority, THREAD_PRIORITY_BELOW_NORMAL);
    DWORD code = 0;
    ASSERT_TRUE(GetExitCodeThread(worker.Handle(), &code));
    EXPECT_EQ(code, 17u);
}

TEST(WorkerThread, ThreadThatReturnedStillActiveCodeCountsAsEnded) {
    Probe probe;
    probe.exitCode = STILL_ACTIVE;
    SetEvent(probe.release.get());
    WorkerThread worker;
    ASSERT_TRUE(worker.Start(&GatedEntry, &probe, THREAD_PRIORITY_NORMAL));
    ASSERT_EQ(WaitForSingleObject(worker.Handle(), INFINITE), WAIT_OBJECT_0);
    EXPECT_FALSE(worker.IsRunning());
}

TEST(WorkerThread, WithoutThreadNothingRuns) {
    Probe probe;
    SetEvent(probe.release.get());
    WorkerThread worker;
    EXPECT_FALSE(worker.IsRunning());
    ASSERT_TRUE(worker.Start(&GatedEntry, &probe, THREAD_PRIORITY_NORMAL));
    WaitForSingleObject(worker.Handle(), INFINITE);
    worker.Forget();
    EXPECT_FALSE(worker);
    EXPECT_FALSE(worker.IsRunning());
}

} // namespace
