#include "render/GdiplusSession.h"

#include <gdiplus.h>

GdiplusSession::GdiplusSession() noexcept {
    // Version 1, no debug callback, background thread and external codecs allowed.
    const Gdiplus::GdiplusStartupInput input;
    started = Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok;
}

GdiplusSession::~GdiplusSession() {
    if (started) {
        Gdiplus::GdiplusShutdown(token);
    }
}
