#include "orrery/sky/subsolar.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// Where the Sun is overhead at hour ut (UTC) of a day whose equation of
// time (apparent minus mean solar time) is eot minutes: where apparent
// solar time is noon.
double NoonLongitude(double ut, double eotMinutes) {
  double lon = 15.0 * (12.0 - ut - eotMinutes / 60.0);
  while (lon >= 180.0) lon -= 360.0;
  while (lon < -180.0) lon += 360.0;
  return lon;
}

struct Moment {
  const char* what;
  CDateTime utc;
  double declination;  // degrees
  double declinationTolerance;
  double eotMinutes;   // the almanac's equation of time for the day
};

TEST(Subsolar, DeclinationAndLongitudeAtKnownMoments) {
  const Moment moments[] = {
      {"March equinox", CDateTime(2024, 3, 20, 3, 6), 0.0, 0.05, -7.5},
      {"June solstice", CDateTime(2024, 6, 20, 20, 51), 23.44, 0.05, -1.6},
      {"September equinox", CDateTime(2024, 9, 22, 12, 44), 0.0, 0.05, 7.3},
      {"December solstice", CDateTime(2024, 12, 21, 9, 21), -23.44, 0.05, 1.8},
      {"equation of time at its maximum", CDateTime(2024, 11, 3, 12, 0), -15.3, 0.3, 16.4},
      {"equation of time at its minimum", CDateTime(2024, 2, 11, 12, 0), -14.0, 0.3, -14.2},
      {"J2000, before 1 January 2000 ends", CDateTime(2000, 1, 1, 23, 30), -22.9, 0.3, -3.5},
  };
  for (const Moment& m : moments) {
    SubsolarPoint sun;
    ASSERT_TRUE(SubsolarPointAt(m.utc, &sun)) << m.what;
    EXPECT_NEAR(sun.latitude, m.declination, m.declinationTolerance) << m.what;
    const double ut = m.utc.GetHour() + m.utc.GetMinute() / 60.0;
    double diff = sun.longitude - NoonLongitude(ut, m.eotMinutes);
    diff -= 360.0 * std::round(diff / 360.0);
    EXPECT_NEAR(diff, 0.0, 1.0) << m.what << ": " << sun.longitude;
    EXPECT_GE(sun.longitude, -180.0) << m.what;
    EXPECT_LT(sun.longitude, 180.0) << m.what;
  }
}

TEST(Subsolar, AltitudeIsOverheadAtThePointAndDownAtItsAntipode) {
  SubsolarPoint sun;
  ASSERT_TRUE(SubsolarPointAt(CDateTime(2024, 6, 20, 20, 51), &sun));
  EXPECT_NEAR(SunAltitudeSine(sun, sun.latitude, sun.longitude), 1.0, 1e-12);
  EXPECT_NEAR(SunAltitudeSine(sun, -sun.latitude, sun.longitude + 180.0), -1.0, 1e-12);
  // Midsummer: the north pole has the Sun at its declination all day, the
  // south pole is in the dark.
  EXPECT_NEAR(std::asin(SunAltitudeSine(sun, 90.0, 0.0)) * 180.0 / 3.14159265358979, 23.44, 0.05);
  EXPECT_LT(SunAltitudeSine(sun, -90.0, 0.0), 0.0);
  // The terminator: 90 degrees of longitude from the point on the equator
  // at an equinox.
  ASSERT_TRUE(SubsolarPointAt(CDateTime(2024, 3, 20, 3, 6), &sun));
  EXPECT_NEAR(SunAltitudeSine(sun, 0.0, sun.longitude + 90.0), 0.0, 1e-3);
}

TEST(Subsolar, AnInvalidMomentIsRefused) {
  SubsolarPoint sun{12.0, 34.0};
  EXPECT_FALSE(SubsolarPointAt(CDateTime(), &sun));
  EXPECT_EQ(sun.latitude, 12.0);
  EXPECT_EQ(sun.longitude, 34.0);
}

}  // namespace
