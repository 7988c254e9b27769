#include "TerminatorReference.h"

#include <cmath>

#include "render/core/TerminatorAlpha.h"
#include "render/core/TerminatorBlend.h"
#include "render/core/TerminatorGeometry.h"

void BlendTerminatorReference(const SunInstant& sun, ArgbImage day, ConstArgbImage night) {
    std::uint32_t nightColour = 0xFF000000u;
    const double step = LatitudeStep(day.height);
    for (std::uint32_t column = 0; column < day.width; ++column) {
        const double longitude = ColumnLongitude(column, day.width);
        for (std::uint32_t row = 0; row < day.height; ++row) {
            const double latitude = RowLatitude(row, step);
            const auto alpha = NightAlphaForAltitude(AltitudeAt(sun, longitude, latitude));
            if (!alpha) {
                continue;
            }
            if (column < night.width && row < night.height) {
                nightColour = night.Row(row)[column];
            }
            std::uint32_t& pixel = day.Row(row)[column];
            pixel = SourceOver(pixel, StrokeColour(*alpha, nightColour));
        }
    }
}

int CountDifferences(const SunInstant& sun, const ArgbBuffer& actual, const ArgbBuffer& expected,
                     std::uint32_t mask) {
    if (actual.width != expected.width || actual.height != expected.height) {
        return -1;
    }
    constexpr double kTolerance = 1e-9;
    const double step = LatitudeStep(actual.height);
    int differences = 0;
    for (std::uint32_t row = 0; row < actual.height; ++row) {
        for (std::uint32_t column = 0; column < actual.width; ++column) {
            if (((actual.At(column, row) ^ expected.At(column, row)) & mask) == 0) {
                continue;
            }
            const double altitude =
                AltitudeAt(sun, ColumnLongitude(column, actual.width), RowLatitude(row, step));
            const double steps = -altitude * kAlphaPerDegree;
            const bool onEdge =
                std::fabs(altitude) <= kTolerance ||
                std::fabs(altitude - kTwilightEdgeDegrees) <= kTolerance ||
                (altitude < 0 && altitude > kTwilightEdgeDegrees &&
                 std::fabs(steps - std::round(steps)) <= kTolerance * kAlphaPerDegree);
            differences += !onEdge;
        }
    }
    return differences;
}
