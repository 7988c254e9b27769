#pragma once
// Fixed numbers of the solar model. Each decimal converts to exactly the double the model uses;
// some are deliberately not the fully rounded values (pi is taken as 3.14159265358979).

namespace solar {

inline constexpr double kDegreesToRadians = 0.017453292519943278;
inline constexpr double kRadiansToDegrees = 57.29577951308238;

inline constexpr double kJ2000 = 2451545.0;
inline constexpr double kCenturiesPerDay = 2.7378507871321012e-05; // 1 / 36525

// Obliquity of the ecliptic, 23.4392911 degrees, held fixed.
inline constexpr double kObliquityRadians = 0.40909280402840303;

// Mean anomaly M = m0 + m1 T - m2 T^2 - m3 T^3 (degrees, T in Julian centuries).
inline constexpr double kAnomaly0 = 357.5291;
inline constexpr double kAnomaly1 = 35999.0503;
inline constexpr double kAnomaly2 = 0.0001559;
inline constexpr double kAnomaly3 = 4.8e-07;

// Equation of centre: (c0 - c1 T - c2 T^2) sin M + (c3 - c4 T) sin 2M + c5 sin 3M.
inline constexpr double kCentre0 = 1.9146;
inline constexpr double kCentre1 = 0.004817;
inline constexpr double kCentre2 = 1.4e-05;
inline constexpr double kCentre3 = 0.01993;
inline constexpr double kCentre4 = 0.000101;
inline constexpr double kCentre5 = 0.00029;

// Mean longitude L0 = l0 + l1 T + l2 T^2.
inline constexpr double kMeanLongitude0 = 280.46645;
inline constexpr double kMeanLongitude1 = 36000.76983;
inline constexpr double kMeanLongitude2 = 0.0003032;

// Sidereal time in degrees: s0 + s1 * days since J2000.0 + 15 per hour of UT.
inline constexpr double kSidereal0 = 100.46;
inline constexpr double kSiderealPerDay = 0.985647;
inline constexpr double kDegreesPerHour = 15.0;

inline constexpr double kCalendarOffsetDays = 1721013.5;

inline constexpr double kOneTwentyFourth = 0.041666666666666664;
inline constexpr double kOneSixtieth = 0.016666666666666666;
inline constexpr double kOneThreeThousandSixHundredth = 0.0002777777777777778;

} // namespace solar
