#include "orrery/sky/sun_moon.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <numbers>

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kTwoPi = 2.0 * kPi;
constexpr double kRadians = kPi / 180.0;
constexpr double kJ2000 = 2451545.0;
constexpr double kSiderealHour = 15.0 * 1.0027379 * kRadians;
constexpr double kSunZenith = 90.833;
constexpr double kNewMoonEpoch = 2451549.6;
constexpr double kSynodicRate = 0.0338631919931529;

double Frac(double x) { return x - std::floor(x); }
double Revolutions(double x) { return kTwoPi * Frac(x); }

struct Position {
  double ra;   // right ascension
  double dec;  // declination
  double distance = 0.0;  // Earth radii (Moon only)
};

// Right ascension and declination from the series U, V, W about a longitude.
Position FromSeries(double longitude, double u, double v, double w) {
  const double s = w / std::sqrt(u - v * v);
  const double sp = v / std::sqrt(u);
  return {longitude + std::atan(s / std::sqrt(1.0 - s * s)), std::atan(sp / std::sqrt(1.0 - sp * sp))};
}

Position SunPosition(double t) {
  const double l = Revolutions(0.779072 + 0.00273790931 * t);
  const double g = Revolutions(0.993126 + 0.0027377785 * t);
  const double t1 = 1.0 + t / 36525.0;
  const double u = 1.0 - 0.03349 * std::cos(g) - 0.00014 * std::cos(2 * l) + 0.00008 * std::cos(l);
  const double v = 0.39785 * std::sin(l) - 0.01000 * std::sin(l - g) + 0.00333 * std::sin(l + g) -
                   0.00021 * t1 * std::sin(l);
  const double w = -0.00010 - 0.04129 * std::sin(2 * l) + 0.03211 * std::sin(g) +
                   0.00104 * std::sin(2 * l - g) - 0.00035 * std::sin(2 * l + g) -
                   0.00008 * t1 * std::sin(g);
  return FromSeries(l, u, v, w);
}

Position MoonPosition(double t) {
  const double l = Revolutions(0.606434 + 0.03660110129 * t);
  const double m = Revolutions(0.374897 + 0.03629164709 * t);
  const double f = Revolutions(0.259091 + 0.0367481952 * t);
  const double d = Revolutions(0.827362 + 0.03386319198 * t);
  const double n = Revolutions(0.347343 - 0.00014709391 * t);
  const double g = Revolutions(0.993126 + 0.0027377785 * t);
  using std::cos;
  using std::sin;
  const double v = 0.39558 * sin(f + n) + 0.08200 * sin(f) + 0.03257 * sin(m - f - n) +
                   0.01092 * sin(m + f + n) + 0.00666 * sin(m - f) - 0.00644 * sin(m + f - 2 * d + n) -
                   0.00331 * sin(f - 2 * d + n) - 0.00304 * sin(f - 2 * d) -
                   0.00240 * sin(m - f - 2 * d - n) + 0.00226 * sin(m + f) - 0.00108 * sin(m + f - 2 * d) -
                   0.00079 * sin(f - n) + 0.00078 * sin(f + 2 * d + n);
  const double u = 1.0 - 0.10828 * cos(m) - 0.01880 * cos(m - 2 * d) - 0.01479 * cos(2 * d) +
                   0.00181 * cos(2 * m - 2 * d) - 0.00147 * cos(2 * m) - 0.00105 * cos(2 * d - g) -
                   0.00075 * cos(m - 2 * d + g);
  const double w = 0.10478 * sin(m) - 0.04105 * sin(2 * f + 2 * n) - 0.02130 * sin(m - 2 * d) -
                   0.01779 * sin(2 * f + n) + 0.01774 * sin(n) + 0.00987 * sin(2 * d) -
                   0.00338 * sin(m - 2 * f - 2 * n) - 0.00309 * sin(g) - 0.00190 * sin(2 * f) -
                   0.00144 * sin(m + n) - 0.00144 * sin(m - 2 * f - n) - 0.00113 * sin(m + 2 * f + 2 * n) -
                   0.00094 * sin(m - 2 * d + g) - 0.00092 * sin(2 * m - 2 * d);
  Position p = FromSeries(l, u, v, w);
  p.distance = 60.40974 * std::sqrt(u);
  return p;
}

struct Words {
  const char* rise;
  const char* set;
  const char* setOnly;
  const char* riseOnly;
  const char* upAllDay;
  const char* downAllDay;
};

constexpr Words kSunWords = {"The Sun rises at ",          "The Sun sets at ",
                             "It rose before midnight. ",  "It will not set today. ",
                             "The Sun remains up all day.", "The Sun remains down all day."};
constexpr Words kMoonWords = {"The Moon rises at ",
                              "The Moon sets at ",
                              "It rose before the day started. ",
                              "It remains up for the rest of the day. ",
                              "The Moon is up all day today.",
                              "The Moon is down all day today."};

// The local day of one place, as the hour scan sees it.
struct Day {
  double theta0;  // sidereal time at local midnight
  double t;       // day number of local midnight from J2000
  double phi;     // latitude
};

// Scans the 24 hours of the day for the body crossing the horizon at the
// zenith distance (degrees). position(p) gives the body at fraction p of the day;
// unwrap makes the right ascension follow on from the previous hour's.
std::string HourScan(const Day& day, double zenith, const std::function<Position(double)>& position,
                     bool unwrap, const Words& words) {
  const double sinPhi = std::sin(day.phi), cosPhi = std::cos(day.phi);
  const double cosZenith = std::cos(zenith * kRadians);
  auto altitude = [&](double ra, double dec, double lst) {
    return sinPhi * std::sin(dec) + cosPhi * std::cos(dec) * std::cos(lst - ra) - cosZenith;
  };
  std::string text;
  bool rose = false, set = false;
  Position p0 = position(0.0);
  double v0 = 0.0, v2 = 0.0;
  for (int j = 0; j < 24; ++j) {
    Position p2 = position((j + 1) / 24.0);
    if (unwrap && p0.ra > p2.ra) p2.ra += kTwoPi;
    const double l0 = day.theta0 + j * kSiderealHour;
    const double l2 = l0 + kSiderealHour;
    if (j == 0) v0 = altitude(p0.ra, p0.dec, l0);
    v2 = altitude(p2.ra, p2.dec, l2);
    // A value of exactly zero at an hour's end counts in the hour it ends, so
    // one crossing is never taken twice, nor a time written without words.
    const bool rising = v0 < 0 && v2 >= 0;
    const bool setting = v0 > 0 && v2 <= 0;
    if (rising || setting) {
      const double h1 = ((l0 - p0.ra) + (l2 - p2.ra)) / 2.0;
      const double dec1 = (p0.dec + p2.dec) / 2.0;
      const double v1 = sinPhi * std::sin(dec1) + cosPhi * std::cos(dec1) * std::cos(h1) - cosZenith;
      const double a = 2 * v2 - 4 * v1 + 2 * v0;
      const double b = 4 * v1 - 3 * v0 - v2;
      const double d = b * b - 4 * a * v0;
      if (d >= 0) {
        text += rising ? words.rise : words.set;
        (rising ? rose : set) = true;
        double e;
        if (a == 0) {
          e = v0 / (v0 - v2);  // straight line through V0 and V2
        } else {
          e = (-b + std::sqrt(d)) / (2 * a);
          if (e > 1 || e < 0) e = (-b - std::sqrt(d)) / (2 * a);
        }
        text += CSunMoon::TimeText(j + std::clamp(e, 0.0, 1.0));
      }
    }
    p0 = p2;
    v0 = v2;
  }
  if (set && !rose) text += words.setOnly;
  if (rose && !set) text += words.riseOnly;
  if (!rose && !set) text = v2 > 0 ? words.upAllDay : words.downAllDay;
  return text;
}

}  // namespace

void SunRaDec(double t, double& ra, double& dec) {
  const Position p = SunPosition(t);
  ra = p.ra;
  dec = p.dec;
}

CSunMoon::CSunMoon() : m_dayZero(0.0) { SetDate(CDateTime::GetCurrentTime()); }

bool CSunMoon::SetDate(const CDateTime& date) {
  if (!date.IsValid()) return false;
  m_dayZero = static_cast<double>(date.GetDayNumber()) + 2415018.5;
  return true;
}

void CSunMoon::SetPlace(const LocationRecord& place) { m_place = place; }

std::string CSunMoon::TimeText(double hours) {
  // Just short of midnight at the end of the day stays in the day; what is
  // no number at all is midnight.
  hours = std::isnan(hours) ? 0.0 : std::clamp(hours, 0.0, std::nextafter(24.0, 0.0));
  const int h = static_cast<int>(std::floor(hours));
  const int m = std::min(59, static_cast<int>(std::floor((hours - h) * 60.0)));
  char text[32];
  if (h < 12) std::snprintf(text, sizeof text, "%.2i:%.2i am. ", h == 0 ? 12 : h, m);
  else std::snprintf(text, sizeof text, "%.2i:%.2i pm. ", h == 12 ? 12 : h - 12, m);
  return text;
}

namespace {

Day LocalDay(double dayZero, const LocationRecord& place) {
  const double t0 = dayZero - kJ2000;
  const double z = place.bias / 1440.0;
  const double longitude = place.longitude;
  const double s = (24110.5 + 8640184.813 * t0 / 36525.0 + 86400.0 * longitude / 360.0 + 86636.6 * z) / 86400.0;
  return {kTwoPi * Frac(s), t0 + z, static_cast<double>(place.latitude) * kRadians};
}

}  // namespace

std::string CSunMoon::SunText() const {
  const Day day = LocalDay(m_dayZero, m_place);
  const Position p1 = SunPosition(day.t);
  Position p2 = SunPosition(day.t + 1.0);
  if (p2.ra < p1.ra) p2.ra += kTwoPi;
  auto at = [&](double p) {
    return Position{p1.ra + p * (p2.ra - p1.ra), p1.dec + p * (p2.dec - p1.dec)};
  };
  return HourScan(day, kSunZenith, at, false, kSunWords);
}

std::string CSunMoon::MoonText() const {
  const Day day = LocalDay(m_dayZero, m_place);
  const Position p1 = MoonPosition(day.t);
  Position p2 = MoonPosition(day.t + 0.5);
  Position p3 = MoonPosition(day.t + 1.0);
  if (p2.ra <= p1.ra) p2.ra += kTwoPi;
  if (p3.ra <= p2.ra) p3.ra += kTwoPi;
  const double zenith = 90.567 - 41.685 / p3.distance;
  auto interpolate = [](double f1, double f2, double f3, double p) {
    const double a = f2 - f1;
    const double b = f3 - f2 - a;
    return f1 + p * (2 * a + b * (2 * p - 1));
  };
  auto at = [&](double p) {
    return Position{interpolate(p1.ra, p2.ra, p3.ra, p), interpolate(p1.dec, p2.dec, p3.dec, p)};
  };
  return HourScan(day, zenith, at, true, kMoonWords);
}

std::string CSunMoon::PhaseText() const {
  const double x = (m_dayZero - kNewMoonEpoch) * kSynodicRate;
  const double f = x - std::floor(x);
  const double twice = 200.0 * f;
  const int percent = static_cast<int>(twice <= 100.0 ? twice : 200.0 - twice);
  const int age = static_cast<int>(std::floor(29.53 * f + 0.5));
  char ageText[64];
  std::snprintf(ageText, sizeof ageText, "  Age: %i days, %d%% full", age, percent);
  if (age == 0 || age == 29) return "There is a new moon.";
  if (age <= 7) return std::string("Moon Phase: Waxing crescent.") + ageText;
  if (age == 8) return "The Moon is at first quarter.";
  if (age <= 13) return std::string("Moon Phase: Waxing gibbous.") + ageText;
  if (age <= 15) return "There is a full moon.";
  if (age <= 21) return std::string("Moon Phase: Waning gibbous.") + ageText;
  if (age == 22) return "The Moon is at last quarter.";
  return std::string("Moon Phase: Waning crescent.") + ageText;
}
