#include "TerminatorReference.h"

#include "render/core/TerminatorAlpha.h"
#include "render/core/TerminatorBlend.h"
#include "render/core/TerminatorGeometry.h"

void BlendTerminatorReference(const SunInstant& sun, ArgbImage day, ConstArgbImage night) {
    std::uint32_t nightColour = 0xFF000000u;
    const double step = LatitudeStep(day.height);
    for (std::uint32_t column = 0; column < day.width; ++column) {
        for (std::uint32_t row = 0; row < day.height; ++row) {
            const auto alpha = NightAlphaForAltitude(
                AltitudeAt(sun, ColumnLongitude(column, day.width), RowLatitude(row, step)));
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
