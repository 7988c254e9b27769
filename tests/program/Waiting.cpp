#include "Waiting.h"

#include <thread>

namespace program_test {

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            // One last look, so that a condition met during the final sleep still counts.
            return condition();
        }
        std::this_thread::sleep_for(20ms);
    }
    return true;
}

} // namespace program_test
