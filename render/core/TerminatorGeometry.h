#pragma once
// Where a pixel of the equirectangular map samples the Earth: column 0 at longitude -180 and
// row 0 at latitude +90, at the pixel's top-left corner.

#include <cstdint>

double ColumnLongitude(std::uint32_t column, std::uint32_t width);

// Degrees of latitude per row, 180 / height.
double LatitudeStep(std::uint32_t height);
double RowLatitude(std::uint32_t row, double latitudeStep);
