#include "render/core/TerminatorProgress.h"

ColumnProgress::ColumnProgress(std::uint32_t width)
    : factor(width > 0 ? static_cast<float>(100.0 / width) : 0.0f) {}

int ColumnProgress::Before(std::uint32_t column) const {
    // The product is formed in wider precision than the factor: in single precision the
    // 49.9999981 of column 3 of 6 would round up to 50.
    return static_cast<int>(static_cast<long double>(column) * factor);
}
