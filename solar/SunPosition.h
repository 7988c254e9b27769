#pragma once
// The sun's equatorial coordinates for a Julian date, by a short series in Julian centuries
// from J2000.0.

// Writes the right ascension (degrees, not reduced to one turn: only its value modulo 360
// matters) and the declination (degrees).
void SunPosition(double julianDate, double& rightAscension, double& declination);
