// The point of the Earth where the Sun stands overhead at a moment, and the
// Sun's altitude seen from any place then: what a day-and-night shade needs.
#pragma once

#include "platform/datetime.h"

struct SubsolarPoint {
  double latitude = 0.0;   // degrees, north positive: the Sun's declination
  double longitude = 0.0;  // degrees, east positive, -180 <= longitude < 180
};

// The subsolar point at moment utc (Coordinated Universal Time). False,
// leaving *point alone, when utc is not a valid value.
bool SubsolarPointAt(const CDateTime& utc, SubsolarPoint* point);

// Sine of the Sun's altitude above the true horizon at latitude and
// longitude (degrees) when its subsolar point is sun; positive by day.
double SunAltitudeSine(const SubsolarPoint& sun, double latitude, double longitude);
