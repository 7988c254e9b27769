#pragma once
// What the scheduler's tests run it in: a hidden dialog that forwards to the scheduler the way
// the main dialog does, a worker body that the test steers, and a message pump.

#include <windows.h>

#include <atomic>
#include <functional>

#include "update/UpdateScheduler.h"
#include "win/Handles.h"

inline constexpr int kSchedulerHostTemplate = 300;

// Creates the host dialog for the scheduler; the scheduler is attached to it.
UniqueWindow CreateSchedulerHost(UpdateScheduler& scheduler);

// Handles the thread's messages until the condition holds; false when it still fails after a
// generous while (a guard against hanging, not a speed check).
bool PumpUntil(const std::function<bool()>& condition);

// The test worker body. It clears the cancel request first, as the composer does, writes the
// given progress and then runs until it is released or sees a cancel request.
struct WorkerProbe {
    std::atomic<int> entered = 0;
    std::atomic<int> runs = 0;
    std::atomic<int> finished = 0;
    std::atomic<int> priority = 0;
    std::atomic<void*> argument = nullptr;
    std::atomic<bool> sawCancel = false;
    std::atomic<int> progress = 0;
    // Waits for a cancel request before clearing it: a request made just before the worker
    // got going.
    std::atomic<bool> requestComesFirst = false;
    // Once it has seen a cancel request, sends this window a display change before it ends
    // (the wallpaper change sends a message of its own the same way); notes whether it was
    // answered.
    std::atomic<HWND> sendsBeforeEnd = nullptr;
    std::atomic<bool> sendAnswered = false;
    UniqueHandle release{CreateEventW(nullptr, TRUE, FALSE, nullptr)};

    void Reset();
};

extern WorkerProbe probe;
unsigned ProbeBody(void* settings);

// Removes the program's registry key, so that Load keeps what the store holds.
void DeleteSettingsKey();
