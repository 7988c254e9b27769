#pragma once
// One background thread: started at a chosen priority with one argument, asked whether it
// still runs; its handle serves waiting. The handle is closed when the object lets go of it; the
// thread itself is never stopped by force.

#include <windows.h>

#include "win/Handles.h"

class WorkerThread {
public:
    using Entry = unsigned (*)(void* argument);

    WorkerThread() noexcept = default;

    // Runs entry(argument) on a new thread at the given priority (THREAD_PRIORITY_...), letting
    // go of any thread held before. False when no thread could be started.
    bool Start(Entry entry, void* argument, int priority);

    // True until the thread has ended. Without a thread, or when the system cannot say, false.
    bool IsRunning() const noexcept;

    // Closes the handle; a thread that still runs goes on by itself.
    void Forget() noexcept { handle.reset(); }
    explicit operator bool() const noexcept { return static_cast<bool>(handle); }
    HANDLE Handle() const noexcept { return handle.get(); }

private:
    UniqueHandle handle;
};
