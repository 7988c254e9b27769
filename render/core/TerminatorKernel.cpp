#include "render/core/TerminatorKernel.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "render/core/TerminatorAlpha.h"
#include "render/core/TerminatorBlend.h"
#include "render/core/TerminatorGeometry.h"
#include "solar/HourAngle.h"

// The altitude is arcsin(cos H cos d cos lat + sin d sin lat). Day, full night and the band
// are told apart on the sine itself, built from a per-column cos H and per-row products, and
// inside the band the alpha comes from the arc sine of that sine. The hoisted arithmetic can
// differ from the altitude routine's only in the last digits, so a sample that lies within a
// small margin of a place where the alpha changes goes through the routine itself and gets
// exactly its result; every other sample is classified with room to spare.

using namespace solar;

namespace {

// Columns handled together: a strip is walked row by row, which suits row-major buffers,
// while gate calls still come column by column.
constexpr std::uint32_t kStripWidth = 64;

// The hoisted sine differs from the altitude routine's by a few units in the last place
// (below 1e-15); anything closer to a class edge than this is left to the routine.
constexpr double kSineMargin = 1e-12;
// The same in degrees of altitude, for samples inside the band.
constexpr double kAltitudeMargin = 1e-9;

struct RowTerms {
    double latitude = 0;
    double cosineTerm = 0; // cos d cos lat
    double sineTerm = 0;   // sin d sin lat
};

struct ColumnTerms {
    double longitude = 0;
    double cosHourAngle = 0;
};

// DayBytes and NightBytes: bytes a pixel of each image, 3 or 4.
template <std::uint32_t DayBytes, std::uint32_t NightBytes> class TerminatorBlend {
public:
    TerminatorBlend(const SunInstant& sun, PixelView day, ConstPixelView night)
        : sun(sun), day(day), night(night), rows(day.height), columns(day.width) {
        const Extended declination = StoreDouble(Extended{sun.declination} * kDegreesToRadians);
        const double step = LatitudeStep(day.height);
        for (std::uint32_t row = 0; row < day.height; ++row) {
            RowTerms& terms = rows[row];
            terms.latitude = RowLatitude(row, step);
            const Extended latitude = StoreDouble(Extended{terms.latitude} * kDegreesToRadians);
            terms.cosineTerm = static_cast<double>(std::cos(declination) * std::cos(latitude));
            terms.sineTerm = static_cast<double>(std::sin(declination) * std::sin(latitude));
        }
        for (std::uint32_t column = 0; column < day.width; ++column) {
            ColumnTerms& terms = columns[column];
            terms.longitude = ColumnLongitude(column, day.width);
            const Extended hourAngle = HourAngleDegrees(sun.julianDate, sun.universalTime,
                                                        terms.longitude, sun.rightAscension);
            terms.cosHourAngle = static_cast<double>(std::cos(hourAngle * kDegreesToRadians));
        }
        // Only a night image smaller than the day image needs the colour carried along.
        nightCoversDay = night.width >= day.width && night.height >= day.height;
        dayEdge = kSineMargin;
        nightEdge = std::sin(kTwilightEdgeDegrees / kRadiansToDegrees) - kSineMargin;
    }

    bool Run(ColumnGate& gate) {
        for (std::uint32_t first = 0; first < day.width; first += kStripWidth) {
            const std::uint32_t end = first + std::min(kStripWidth, day.width - first);
            for (std::uint32_t column = first; column < end; ++column) {
                if (!gate.Enter(column)) {
                    return false;
                }
            }
            BlendStrip(first, end);
        }
        return true;
    }

private:
    // One strip in two passes. The samples inside the night image come first, so that each
    // column's last night colour is known before the samples outside it are painted with it.
    void BlendStrip(std::uint32_t first, std::uint32_t end) {
        stripFirst = first;
        const auto [lowest, highest] =
            std::minmax_element(columns.begin() + first, columns.begin() + end,
                                [](const ColumnTerms& a, const ColumnTerms& b) {
                                    return a.cosHourAngle < b.cosHourAngle;
                                });
        stripLowestCos = lowest->cosHourAngle;
        stripHighestCos = highest->cosHourAngle;
        std::fill(seen.begin(), seen.end(), false);
        const std::uint32_t insideEnd = std::clamp(night.width, first, end);
        const std::uint32_t insideRows = std::min(day.height, night.height);
        for (std::uint32_t row = 0; row < insideRows && first < insideEnd; ++row) {
            const std::uint8_t* nightRow = night.Row(row);
            if (!nightCoversDay) {
                BlendSegment(row, first, insideEnd, [&](std::uint32_t column) {
                    const std::uint32_t colour =
                        LoadArgb<NightBytes>(nightRow + column * NightBytes);
                    latest[column - stripFirst] = colour;
                    seen[column - stripFirst] = true;
                    return colour;
                });
            } else {
                BlendSegment(row, first, insideEnd, [nightRow](std::uint32_t column) {
                    return LoadArgb<NightBytes>(nightRow + column * NightBytes);
                });
            }
        }
        if (nightCoversDay) {
            return;
        }

        for (std::uint32_t column = first; column < end; ++column) {
            const std::uint32_t index = column - first;
            if (seen[index]) {
                carried = latest[index];
            }
            fallback[index] = carried;
        }
        const auto repeat = [&](std::uint32_t column) { return fallback[column - stripFirst]; };
        for (std::uint32_t row = insideRows; row < day.height && first < insideEnd; ++row) {
            BlendSegment(row, first, insideEnd, repeat);
        }
        for (std::uint32_t row = 0; row < day.height && insideEnd < end; ++row) {
            BlendSegment(row, insideEnd, end, repeat);
        }
    }

    template <typename NightColour>
    void BlendSegment(std::uint32_t row, std::uint32_t first, std::uint32_t end,
                      NightColour nightColour) {
        const RowTerms& terms = rows[row];
        std::uint8_t* pixels = day.Row(row);
        // The sine is linear in cos H, so the strip's extremes of cos H bound the whole segment.
        const double atLowest = stripLowestCos * terms.cosineTerm + terms.sineTerm;
        const double atHighest = stripHighestCos * terms.cosineTerm + terms.sineTerm;
        if (std::min(atLowest, atHighest) >= dayEdge) {
            return;
        }
        if (std::max(atLowest, atHighest) <= nightEdge) {
            for (std::uint32_t column = first; column < end; ++column) {
                StoreArgb<DayBytes>(pixels + column * DayBytes,
                                    StrokeColour(255, nightColour(column)));
            }
            return;
        }
        for (std::uint32_t column = first; column < end; ++column) {
            const double sine = columns[column].cosHourAngle * terms.cosineTerm + terms.sineTerm;
            if (sine >= dayEdge) {
                continue;
            }
            std::uint8_t alpha = 255;
            if (sine > nightEdge) {
                const std::optional<std::uint8_t> bandAlpha =
                    BandAlpha(sine, columns[column].longitude, terms.latitude);
                if (!bandAlpha) {
                    continue;
                }
                alpha = *bandAlpha;
            }
            std::uint8_t* pixel = pixels + column * DayBytes;
            StoreArgb<DayBytes>(pixel, SourceOver(LoadArgb<DayBytes>(pixel),
                                                  StrokeColour(alpha, nightColour(column))));
        }
    }

    // The alpha of a sample near the twilight band. The altitude from the hoisted sine is
    // within 1e-13 degrees of the altitude routine's, so only a sample that close to a place
    // where the alpha changes needs the routine itself.
    std::optional<std::uint8_t> BandAlpha(double sine, double longitude, double latitude) const {
        const double altitude = std::asin(sine) * kRadiansToDegrees;
        const double steps = -altitude * kAlphaPerDegree;
        if (altitude > -kAltitudeMargin ||
            std::fabs(altitude - kTwilightEdgeDegrees) < kAltitudeMargin ||
            std::fabs(steps - std::nearbyint(steps)) < kAltitudeMargin * kAlphaPerDegree) {
            return NightAlphaForAltitude(AltitudeAt(sun, longitude, latitude));
        }
        return NightAlphaForAltitude(altitude);
    }

private:
    const SunInstant& sun;
    PixelView day;
    ConstPixelView night;
    std::vector<RowTerms> rows;
    std::vector<ColumnTerms> columns;
    bool nightCoversDay = false;
    double dayEdge = 0;
    double nightEdge = 0;

    std::uint32_t stripFirst = 0;
    double stripLowestCos = 0;
    double stripHighestCos = 0;
    std::array<std::uint32_t, kStripWidth> latest{};
    std::array<bool, kStripWidth> seen{};
    std::array<std::uint32_t, kStripWidth> fallback{};
    std::uint32_t carried = 0xFF000000u; // opaque black until the first night pixel is read
};

} // namespace

bool BlendTerminator(const SunInstant& sun, PixelView day, ConstPixelView night, ColumnGate& gate) {
    const auto run = [&]<std::uint32_t DayBytes, std::uint32_t NightBytes>() {
        return TerminatorBlend<DayBytes, NightBytes>(sun, day, night).Run(gate);
    };
    if (day.bytesPerPixel == 3) {
        return night.bytesPerPixel == 3 ? run.template operator()<3, 3>()
                                        : run.template operator()<3, 4>();
    }
    return night.bytesPerPixel == 3 ? run.template operator()<4, 3>()
                                    : run.template operator()<4, 4>();
}
