#include "render/core/TerminatorGeometry.h"

#include "solar/Extended.h"

// Each value is rounded to double once, in one place, so that every caller samples exactly the
// same point whatever the compiler keeps in registers.

using namespace solar;

double ColumnLongitude(std::uint32_t column, std::uint32_t width) {
    return StoreDouble(Extended{360} / width * column - 180);
}

double LatitudeStep(std::uint32_t height) {
    return StoreDouble(Extended{180} / height);
}

double RowLatitude(std::uint32_t row, double latitudeStep) {
    return StoreDouble(90 - static_cast<Extended>(row) * latitudeStep);
}
