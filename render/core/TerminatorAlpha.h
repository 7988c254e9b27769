#pragma once
// How strongly the night image shows at a point, from the sun's altitude there.

#include <cstdint>
#include <optional>

// Altitude of the lower edge of the twilight band, degrees.
inline constexpr double kTwilightEdgeDegrees = -0.5833;
// Alpha steps per degree below the horizon inside the band: 255 / 0.5833.
inline constexpr double kAlphaPerDegree = 437.16783816218066;

// No value where it is day (altitude at least 0). Inside the twilight band (-0.5833, 0) the
// alpha rises from 0 just below the horizon to 254 near the edge; at and below the edge, and
// for an altitude that is not a number, it is 255.
std::optional<std::uint8_t> NightAlphaForAltitude(double altitude);
