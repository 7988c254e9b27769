#pragma once
// Work done on a second thread, at the calling thread's priority, while the caller goes on:
// machines have two cores and an update has independent steps (two decodes, two saves). The
// work is waited for at the latest when the task goes out of scope. When no thread can be
// started, the work runs at once on the calling thread.

#include <functional>

#include "win/WorkerThread.h"

class SideTask {
public:
    // work must not throw.
    explicit SideTask(std::function<void()> work) noexcept;
    ~SideTask() { Wait(); }
    SideTask(const SideTask&) = delete;
    SideTask& operator=(const SideTask&) = delete;

    void Wait() noexcept;

private:
    static unsigned Run(void* task) noexcept;

    std::function<void()> work;
    WorkerThread thread;
};
