#include "render/FirstTouch.h"

void TouchPages(std::span<std::uint8_t> bytes) noexcept {
    // 4096 bytes is the smallest page size of the machines the program runs on.
    constexpr std::size_t kPage = 4096;
    for (std::size_t offset = 0; offset < bytes.size(); offset += kPage) {
        bytes[offset] = 0;
    }
}
