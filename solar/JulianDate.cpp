#include "solar/JulianDate.h"

#include "solar/Extended.h"
#include "solar/SolarConstants.h"

using namespace solar;

double JulianDate(std::uint32_t year, std::uint32_t month, std::uint32_t day, std::uint32_t hour,
                  std::uint32_t minute, std::uint32_t second) {
    if (year > 2099 || year < 1900) {
        return 0.0;
    }
    // The formula below is only right from March 1900 on: 1900 was not a leap year.
    if (year == 1900 && month < 3) {
        return 0.0;
    }
    if (month > 12 || month < 1) {
        return 0.0;
    }
    if (day > 31 || day < 1) {
        return 0.0;
    }

    // The three floored quotients, in exact integer arithmetic (all operands are small and
    // non-negative). January and February count as months of the previous year.
    const std::int64_t marchYears = (month + 9) / 12;
    const std::int64_t leapDays = 7 * (year + marchYears) / 4;
    const std::int64_t monthDays = 275 * month / 9;
    const std::int64_t wholeDays = 367 * static_cast<std::int64_t>(year) - leapDays + monthDays +
                                   static_cast<std::int64_t>(day);

    const Extended hours = (static_cast<Extended>(second) * kOneThreeThousandSixHundredth +
                            static_cast<Extended>(minute) * kOneSixtieth) +
                           static_cast<Extended>(hour);
    const Extended dayFraction = hours * kOneTwentyFourth;
    return StoreDouble(static_cast<Extended>(wholeDays) + kCalendarOffsetDays + dayFraction);
}
