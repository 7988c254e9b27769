#pragma once
// Whole-turn reduction of angles in degrees, used for the quadrant correction of the sun's
// right ascension.

#include <cstdint>

// The same angle in [0, 360). A non-finite angle gives NaN.
double NormalizeDegrees(double angle);

// 1 for [0, 90), 2 for [90, 180), 3 for [180, 270), 4 for [270, 360) after normalising; a
// boundary belongs to the higher quadrant. 0 for a non-finite angle.
std::int32_t QuadrantOf(double angle);
