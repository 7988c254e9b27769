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

// The hoisted terms of the altitude for every row and column, and the classification of samples
// strip by strip.
class BlendTerms {
public:
    BlendTerms(const SunInstant& sun, std::uint32_t width, std::uint32_t height)
        : rows(height), columns(width) {
        const Extended declination = StoreDouble(Extended{sun.declination} * kDegreesToRadians);
        const double step = LatitudeStep(height);
        for (std::uint32_t row = 0; row < height; ++row) {
            RowTerms& terms = rows[row];
            terms.latitude = RowLatitude(row, step);
            const Extended latitude = StoreDouble(Extended{terms.latitude} * kDegreesToRadians);
            terms.cosineTerm = static_cast<double>(std::cos(declination) * std::cos(latitude));
            terms.sineTerm = static_cast<double>(std::sin(declination) * std::sin(latitude));
        }
        for (std::uint32_t column = 0; column < width; ++column) {
            ColumnTerms& terms = columns[column];
            terms.longitude = ColumnLongitude(column, width);
            const Extended hourAngle = HourAngleDegrees(sun.julianDate, sun.universalTime,
                                                        terms.longitude, sun.rightAscension);
            terms.cosHourAngle = static_cast<double>(std::cos(hourAngle * kDegreesToRadians));
        }
    }

    void EnterStrip(std::uint32_t first, std::uint32_t end) {
        const auto [lowest, highest] =
            std::minmax_element(columns.begin() + first, columns.begin() + end,
                                [](const ColumnTerms& a, const ColumnTerms& b) {
                                    return a.cosHourAngle < b.cosHourAngle;
                                });
        stripLowestCos = lowest->cosHourAngle;
        stripHighestCos = highest->cosHourAngle;
    }

    // The sine is linear in cos H, so the strip's extremes of cos H bound the whole row of it.
    bool AllDay(std::uint32_t row) const {
        return std::min(AtLowest(row), AtHighest(row)) >= kDayEdge;
    }
    bool AllNight(std::uint32_t row) const {
        return std::max(AtLowest(row), AtHighest(row)) <= nightEdge;
    }

    // The night pixels the strip's columns [first, end) read: those of the rows below
    // nightRows that are not all day, from the first such row to the last.
    PixelArea AreaRead(std::uint32_t first, std::uint32_t end, std::uint32_t nightRows) const {
        std::uint32_t firstRow = 0;
        while (firstRow < nightRows && AllDay(firstRow)) {
            ++firstRow;
        }
        std::uint32_t endRow = nightRows;
        while (endRow > firstRow && AllDay(endRow - 1)) {
            --endRow;
        }
        return {first, end, firstRow, endRow};
    }

    std::vector<RowTerms> rows;
    std::vector<ColumnTerms> columns;
    const double nightEdge = std::sin(kTwilightEdgeDegrees / kRadiansToDegrees) - kSineMargin;
    static constexpr double kDayEdge = kSineMargin;

private:
    double AtLowest(std::uint32_t row) const {
        return stripLowestCos * rows[row].cosineTerm + rows[row].sineTerm;
    }
    double AtHighest(std::uint32_t row) const {
        return stripHighestCos * rows[row].cosineTerm + rows[row].sineTerm;
    }

    double stripLowestCos = 0;
    double stripHighestCos = 0;
};

// The night columns a strip of day columns [first, end) reads: those the night image has.
std::uint32_t NightEnd(std::uint32_t nightWidth, std::uint32_t first, std::uint32_t end) {
    return std::clamp(nightWidth, first, end);
}

// The whole night image in memory.
class WholeNight final : public NightPixels {
public:
    explicit WholeNight(ConstPixelView night)
        : NightPixels(night.width, night.height, night.bytesPerPixel), night(night) {}
    ConstPixelView Area(const PixelArea& area) const override {
        return {night.Row(area.firstRow) + std::size_t{area.firstColumn} * bytesPerPixel,
                area.endColumn - area.firstColumn, area.endRow - area.firstRow, night.stride,
                bytesPerPixel};
    }

private:
    ConstPixelView night;
};

// DayBytes and NightBytes: bytes a pixel of each image, 3 or 4.
template <std::uint32_t DayBytes, std::uint32_t NightBytes> class TerminatorBlend {
public:
    TerminatorBlend(const SunInstant& sun, PixelView day, const NightPixels& night)
        : sun(sun), day(day), night(night), terms(sun, day.width, day.height) {
        // Only a night image smaller than the day image needs the colour carried along.
        nightCoversDay = night.width >= day.width && night.height >= day.height;
    }

    bool Run(ColumnGate& gate) {
        for (std::uint32_t first = 0; first < day.width; first += kStripWidth) {
            const std::uint32_t end = first + std::min(kStripWidth, day.width - first);
            for (std::uint32_t column = first; column < end; ++column) {
                if (!gate.Enter(column)) {
                    return false;
                }
            }
            if (!BlendStrip(first, end)) {
                return false;
            }
        }
        return true;
    }

private:
    // One strip in two passes. The samples inside the night image come first, so that each
    // column's last night colour is known before the samples outside it are painted with it.
    bool BlendStrip(std::uint32_t first, std::uint32_t end) {
        stripFirst = first;
        terms.EnterStrip(first, end);
        std::fill(seen.begin(), seen.end(), false);
        const std::uint32_t insideEnd = NightEnd(night.width, first, end);
        const std::uint32_t insideRows = std::min(day.height, night.height);
        const PixelArea read = terms.AreaRead(first, insideEnd, insideRows);
        if (read.firstColumn < read.endColumn && read.firstRow < read.endRow) {
            const ConstPixelView area = night.Area(read);
            if (area.data == nullptr) {
                return false;
            }
            for (std::uint32_t row = read.firstRow; row < read.endRow; ++row) {
                // Column `first` of the map is column 0 of the area.
                const std::uint8_t* nightRow = area.Row(row - read.firstRow);
                if (!nightCoversDay) {
                    BlendSegment(row, first, insideEnd, [&](std::uint32_t column) {
                        const std::uint32_t colour =
                            LoadArgb<NightBytes>(nightRow + (column - first) * NightBytes);
                        latest[column - stripFirst] = colour;
                        seen[column - stripFirst] = true;
                        return colour;
                    });
                } else {
                    BlendSegment(row, first, insideEnd, [nightRow, first](std::uint32_t column) {
                        return LoadArgb<NightBytes>(nightRow + (column - first) * NightBytes);
                    });
                }
            }
        }
        if (nightCoversDay) {
            return true;
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
        return true;
    }

    template <typename NightColour>
    void BlendSegment(std::uint32_t row, std::uint32_t first, std::uint32_t end,
                      NightColour nightColour) {
        const RowTerms& rowTerms = terms.rows[row];
        std::uint8_t* pixels = day.Row(row);
        if (terms.AllDay(row)) {
            return;
        }
        if (terms.AllNight(row)) {
            for (std::uint32_t column = first; column < end; ++column) {
                StoreArgb<DayBytes>(pixels + column * DayBytes,
                                    StrokeColour(255, nightColour(column)));
            }
            return;
        }
        for (std::uint32_t column = first; column < end; ++column) {
            const ColumnTerms& columnTerms = terms.columns[column];
            const double sine = columnTerms.cosHourAngle * rowTerms.cosineTerm + rowTerms.sineTerm;
            if (sine >= BlendTerms::kDayEdge) {
                continue;
            }
            std::uint8_t alpha = 255;
            if (sine > terms.nightEdge) {
                const std::optional<std::uint8_t> bandAlpha =
                    BandAlpha(sine, columnTerms.longitude, rowTerms.latitude);
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
    const NightPixels& night;
    BlendTerms terms;
    bool nightCoversDay = false;

    std::uint32_t stripFirst = 0;
    std::array<std::uint32_t, kStripWidth> latest{};
    std::array<bool, kStripWidth> seen{};
    std::array<std::uint32_t, kStripWidth> fallback{};
    std::uint32_t carried = 0xFF000000u; // opaque black until the first night pixel is read
};

} // namespace

bool BlendTerminator(const SunInstant& sun, PixelView day, const NightPixels& night,
                     ColumnGate& gate) {
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

bool BlendTerminator(const SunInstant& sun, PixelView day, ConstPixelView night, ColumnGate& gate) {
    return BlendTerminator(sun, day, WholeNight(night), gate);
}

std::vector<PixelArea> NightAreasRead(const SunInstant& sun, std::uint32_t dayWidth,
                                      std::uint32_t dayHeight, std::uint32_t nightWidth,
                                      std::uint32_t nightHeight) {
    BlendTerms terms(sun, dayWidth, dayHeight);
    std::vector<PixelArea> areas;
    for (std::uint32_t first = 0; first < dayWidth; first += kStripWidth) {
        const std::uint32_t end = first + std::min(kStripWidth, dayWidth - first);
        const std::uint32_t insideEnd = NightEnd(nightWidth, first, end);
        terms.EnterStrip(first, end);
        const PixelArea area = terms.AreaRead(first, insideEnd, std::min(dayHeight, nightHeight));
        if (area.firstColumn < area.endColumn && area.firstRow < area.endRow) {
            areas.push_back(area);
        }
    }
    return areas;
}
