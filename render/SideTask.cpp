#include "render/SideTask.h"

#include <utility>

SideTask::SideTask(std::function<void()> work) noexcept : work(std::move(work)) {
    bool started = false;
    try {
        started = thread.Start(&SideTask::Run, this, GetThreadPriority(GetCurrentThread()));
    } catch (...) {
    }
    if (!started) {
        this->work();
    }
}

unsigned SideTask::Run(void* task) noexcept {
    static_cast<SideTask*>(task)->work();
    return 0;
}

void SideTask::Wait() noexcept {
    if (thread) {
        WaitForSingleObject(thread.Handle(), INFINITE);
        thread.Forget();
    }
}
