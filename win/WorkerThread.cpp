#include "win/WorkerThread.h"

#include <memory>

namespace {

struct Launch {
    WorkerThread::Entry entry;
    void* argument;
};

// The system's thread entry has its own calling convention; this one adapts it and owns the
// launch record from here on.
DWORD WINAPI RunLaunch(void* parameter) noexcept {
    const std::unique_ptr<Launch> launch(static_cast<Launch*>(parameter));
    return launch->entry(launch->argument);
}

} // namespace

bool WorkerThread::Start(Entry entry, void* argument, int priority) {
    handle.reset();
    auto launch = std::make_unique<Launch>(Launch{entry, argument});
    // Created suspended so that not one instruction of the entry runs at the wrong priority.
    UniqueHandle thread(
        CreateThread(nullptr, 0, &RunLaunch, launch.get(), CREATE_SUSPENDED, nullptr));
    if (!thread) {
        return false;
    }
    SetThreadPriority(thread.get(), priority);
    if (ResumeThread(thread.get()) == static_cast<DWORD>(-1)) {
        // The thread never ran a single instruction and owns nothing yet: it can go.
        TerminateThread(thread.get(), 0);
        WaitForSingleObject(thread.get(), INFINITE);
        return false;
    }
    launch.release();
    handle = std::move(thread);
    return true;
}

bool WorkerThread::IsRunning() const noexcept {
    if (!handle) {
        return false;
    }
    DWORD code = 0;
    if (!GetExitCodeThread(handle.get(), &code) || code != STILL_ACTIVE) {
        return false;
    }
    // A thread that ended by returning 259 reports STILL_ACTIVE for ever; whether its handle
    // is signalled settles the question.
    return WaitForSingleObject(handle.get(), 0) == WAIT_TIMEOUT;
}
