#pragma once
// The period of the update timer, from the UpdateFreqMins setting. Free of windows.h.

#include <cstdint>

// One minute at least: no period of 0 that would update without a pause.
inline constexpr int kMinUpdateMinutes = 1;
// The most minutes whose milliseconds fit an unsigned 32-bit count.
inline constexpr int kMaxUpdateMinutes = 71582;

// The minutes, brought into kMinUpdateMinutes..kMaxUpdateMinutes, in milliseconds.
std::uint32_t UpdatePeriodMilliseconds(int minutes);
