#pragma once
// Polling with generous time limits: the program under test runs in another process under
// Wine, on a machine that may be busy, so every wait is for a condition, never for a time.

#include <chrono>
#include <functional>

namespace program_test {

using namespace std::chrono_literals;

// Long enough for a busy machine to start a Wine process and show its first window.
inline constexpr std::chrono::milliseconds kWindowTimeout = 60s;

// Checks `condition` every 20 ms until it holds (true) or `timeout` has passed (false).
bool WaitUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds timeout = kWindowTimeout);

} // namespace program_test
