#pragma once
// The solar position model: Julian date, the sun's coordinates and its altitude over a point.

#include "solar/Angles.h"
#include "solar/JulianDate.h"
#include "solar/SolarAltitude.h"
#include "solar/SunPosition.h"
