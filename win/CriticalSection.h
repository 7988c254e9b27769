#pragma once
// A Win32 critical section and a scoped lock on it.

#include <windows.h>

class CriticalSection {
public:
    CriticalSection() noexcept { InitializeCriticalSection(&section); }
    ~CriticalSection() { DeleteCriticalSection(&section); }
    CriticalSection(const CriticalSection&) = delete;
    CriticalSection& operator=(const CriticalSection&) = delete;

    void Enter() noexcept { EnterCriticalSection(&section); }
    void Leave() noexcept { LeaveCriticalSection(&section); }

private:
    CRITICAL_SECTION section;
};

class ScopedLock {
public:
    explicit ScopedLock(CriticalSection& section) noexcept : section(section) { section.Enter(); }
    ~ScopedLock() { section.Leave(); }
    ScopedLock(const ScopedLock&) = delete;
    ScopedLock& operator=(const ScopedLock&) = delete;

private:
    CriticalSection& section;
};
