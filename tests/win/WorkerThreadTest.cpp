// Starting a worker at a priority, watching it run and seeing it end.

#include <gtest/gtest.h>

#include "win/Handles.h"
#include "win/WorkerThread.h"

namespace {

struct Probe {
    unsigned exitCode = 0;
    UniqueHandle release{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    int priority = 0;
    void* argumentSeen = nullptr;
};

unsigned GatedEntry(void* argument) {
    auto* probe = static_cast<Probe*>(argument);
    probe->argumentSeen = argument;
    probe->priority = GetThreadPriority(GetCurrentThread());
    WaitForSingleObject(probe->release.get(), INFINITE);
    return probe->exitCode;
}

TEST(WorkerThread, RunsTheEntryWithItsArgumentAtThePriorityUntilItReturns) {
    // 259 is STILL_ACTIVE, which a thread that returned it reports for ever.
    for (const unsigned exitCode : {17u, 259u}) {
        Probe probe{exitCode};
        WorkerThread worker;
        ASSERT_TRUE(worker.Start(&GatedEntry, &probe, THREAD_PRIORITY_BELOW_NORMAL));
        EXPECT_TRUE(worker.IsRunning());
        SetEvent(probe.release.get());
        ASSERT_EQ(WaitForSingleObject(worker.Handle(), INFINITE), WAIT_OBJECT_0);
        EXPECT_FALSE(worker.IsRunning()) << "exit code " << exitCode;
        EXPECT_EQ(probe.argumentSeen, &probe);
        EXPECT_EQ(probe.priority, THREAD_PRIORITY_BELOW_NORMAL);
        DWORD code = 0;
        ASSERT_TRUE(GetExitCodeThread(worker.Handle(), &code));
        EXPECT_EQ(code, exitCode);
    }
}

} // namespace
