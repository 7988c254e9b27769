#include "update/UpdatePeriod.h"

#include <algorithm>

std::uint32_t UpdatePeriodMilliseconds(int minutes) {
    const int bounded = std::clamp(minutes, kMinUpdateMinutes, kMaxUpdateMinutes);
    return static_cast<std::uint32_t>(bounded) * 60000u;
}
