#pragma once
// Owns the GDI+ start-up token: starts the library on construction and shuts it down on
// destruction, but only when the start succeeded.

#include <windows.h>

class GdiplusSession {
public:
    GdiplusSession() noexcept;
    ~GdiplusSession();
    GdiplusSession(const GdiplusSession&) = delete;
    GdiplusSession& operator=(const GdiplusSession&) = delete;

    bool Started() const noexcept { return started; }

private:
    ULONG_PTR token = 0;
    bool started = false;
};
