#pragma once
// Calendar date and time (UTC) to Julian date.

#include <cstdint>

// Days since the Julian epoch; J2000.0 is 2451545.0. Dates before 1 March 1900 or after
// 31 December 2099, months outside 1..12 and days outside 1..31 give 0.0. The day is not checked
// against its month (31 February counts on into March) and the time of day is not checked at all.
double JulianDate(std::uint32_t year, std::uint32_t month, std::uint32_t day, std::uint32_t hour,
                  std::uint32_t minute, std::uint32_t second);
