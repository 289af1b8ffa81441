#include "orrery/sky/subsolar.h"

#include "orrery/sky/sun_moon.h"

#include <cmath>
#include <numbers>

namespace {

constexpr double kDegrees = 180.0 / std::numbers::pi;
constexpr double kJ2000 = 2451545.0;
constexpr double kDayZeroJulian = 2415018.5;  // 30 December 1899, 0h

double Frac(double x) { return x - std::floor(x); }

}  // namespace

bool SubsolarPointAt(const CDateTime& utc, SubsolarPoint* point) {
  if (!utc.IsValid() || !point) return false;
  const double days = utc.GetDays();
  const double t = days + kDayZeroJulian - kJ2000;
  double ra = 0.0, dec = 0.0;
  SunRaDec(t, ra, dec);
  // Greenwich sidereal time, in the same terms as the rise-and-set scan:
  // at 0h of the date, plus the sidereal day's share of the time of day.
  const double dayZero = std::floor(days);
  const double t0 = dayZero + kDayZeroJulian - kJ2000;
  const double z = days - dayZero;
  const double sidereal = (24110.5 + 8640184.813 * t0 / 36525.0 + 86636.6 * z) / 86400.0;
  // The Sun is overhead where the local sidereal time equals its right
  // ascension.
  const double longitude = 360.0 * Frac((ra * kDegrees - 360.0 * Frac(sidereal) + 180.0) / 360.0) - 180.0;
  point->latitude = dec * kDegrees;
  point->longitude = longitude;
  return true;
}

double SunAltitudeSine(const SubsolarPoint& sun, double latitude, double longitude) {
  const double phi = latitude / kDegrees, dec = sun.latitude / kDegrees;
  const double hour = (longitude - sun.longitude) / kDegrees;
  return std::sin(phi) * std::sin(dec) + std::cos(phi) * std::cos(dec) * std::cos(hour);
}
