#pragma once
// The sun's altitude above the horizon of a point on Earth at one instant.

// julianDate and universalTime (decimal hours) describe the same instant; rightAscension and
// declination are what SunPosition gave for that Julian date. Longitude is positive east,
// latitude positive north; everything in degrees. Writes the altitude in degrees.
void SolarAltitude(double julianDate, double universalTime, double longitude, double latitude,
                   double rightAscension, double declination, double& altitude);
