#pragma once
// The progress written before each column: the percentage of columns already finished, from a
// factor held in single precision (so six columns give 0, 16, 33, 49, 66, 83).

#include <cstdint>

class ColumnProgress {
public:
    explicit ColumnProgress(std::uint32_t width);
    int Before(std::uint32_t column) const;

private:
    float factor = 0;
};
