// Sunrise, sunset, moonrise, moonset and the Moon's phase for one date and
// place, phrased as the report's sentences. Low-precision positions after
// van Flandern and Pulkkinen (1979), events from an hourly altitude scan.
#pragma once

#include "orrery/sky/location_store.h"
#include "platform/datetime.h"

#include <string>

// The Sun's right ascension and declination in radians at day number t
// (days from J2000, JD 2451545.0); the right ascension is not reduced to
// 0..2 pi.
void SunRaDec(double t, double& ra, double& dec);

class CSunMoon {
public:
  // Today, at latitude and longitude 0 with bias 0.
  CSunMoon();

  // Takes the date part of a valid value; false, changing nothing, otherwise.
  bool SetDate(const CDateTime& date);
  // A copy of the place; its bias must already be resolved for the date.
  void SetPlace(const LocationRecord& place);

  std::string SunText() const;
  std::string MoonText() const;
  std::string PhaseText() const;

  double GetDayZero() const { return m_dayZero; }

  // An event x hours after local midnight: "06:07 am. ", minutes cut.
  static std::string TimeText(double hours);

private:
  double m_dayZero;  // Julian Date of 0h of the date
  LocationRecord m_place;
};
