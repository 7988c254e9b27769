#pragma once
// The first write to a page of fresh memory is the dear part of filling a large buffer: on some
// machines it costs more than copying the page's bytes, and a large map is tens of thousands of
// pages. Two threads take those first writes in about half the time, so a buffer about to be
// filled has the pages of its far part written on a second thread while its near part is filled.

#include <cstdint>
#include <span>

#include "render/SideTask.h"

// Writes a zero into every page of bytes, which nothing else may be using yet.
void TouchPages(std::span<std::uint8_t> bytes) noexcept;

// Runs work here while farPart's pages are first written on a second thread, and returns what
// work returns once both are done.
template <typename Work> auto WhileTouching(std::span<std::uint8_t> farPart, Work work) {
    const SideTask touch([farPart] { TouchPages(farPart); });
    return work();
}
