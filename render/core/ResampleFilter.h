#pragma once
// The weights of one axis of a resampling, worked out once per destination pixel: which source
// pixels a destination pixel draws on and how much of each. A destination pixel covers
// sourceLength / destinationLength source pixels. Shrinking (or 1:1) takes the area-weighted
// mean of the source pixels under it, so fine detail averages out instead of aliasing;
// enlarging interpolates with the Catmull-Rom cubic, which is sharp and passes through the
// source values.

#include <vector>

struct FilterTable {
    // Weights per destination pixel; the same count for every pixel, padded with zeros.
    int taps = 0;
    // Per destination pixel, its first source pixel, counted from the start of the source
    // range; it can lie before the range or past its end, where the caller decides what the
    // picture holds (wrapped or clamped).
    std::vector<int> first;
    // taps weights per destination pixel, summing to one.
    std::vector<float> weights;
};

// sourceLength and destinationLength are positive.
FilterTable MakeFilterTable(int sourceLength, int destinationLength);
