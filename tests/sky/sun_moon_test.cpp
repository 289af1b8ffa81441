#include "orrery/sky/sun_moon.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

LocationRecord Place(float latitude, float longitude, int bias) {
  LocationRecord r;
  r.latitude = latitude;
  r.longitude = longitude;
  r.bias = bias;
  return r;
}

struct SkyCase {
  LocationRecord place;
  CDateTime date;
  const char* sun;   // null: not checked
  const char* moon;
};

TEST(SunMoon, RiseAndSetSentences) {
  const LocationRecord london = Place(51.5f, 0.0f, 0);
  const SkyCase cases[] = {
      {london, CDateTime(2000, 1, 1), "The Sun rises at 08:05 am. The Sun sets at 04:01 pm. ",
       "The Moon rises at 02:40 am. The Moon sets at 01:12 pm. "},
      {london, CDateTime(2003, 1, 14), nullptr, "The Moon sets at 04:22 am. The Moon rises at 12:50 pm. "},
      {Place(0.0f, 0.0f, 0), CDateTime(2003, 3, 20), "The Sun rises at 06:04 am. The Sun sets at 06:10 pm. ",
       nullptr},
      {Place(-33.9f, 151.2f, -660), CDateTime(2003, 12, 25),
       "The Sun rises at 05:42 am. The Sun sets at 08:07 pm. ",
       "The Moon rises at 07:08 am. The Moon sets at 10:12 pm. "},
      {Place(70.0f, 25.0f, -120), CDateTime(2003, 6, 21), "The Sun remains up all day.", nullptr},
      {Place(70.0f, 25.0f, -60), CDateTime(2003, 12, 21), "The Sun remains down all day.", nullptr},
      {Place(51.5f, 0.0f, -60), CDateTime(2000, 6, 21), nullptr,
       "The Moon sets at 08:50 am. It rose before the day started. "},
  };
  for (const SkyCase& c : cases) {
    CSunMoon sky;
    ASSERT_TRUE(sky.SetDate(c.date));
    sky.SetPlace(c.place);
    const std::string where = c.date.Format("%Y-%m-%d at ") + std::to_string(c.place.latitude);
    if (c.sun) {
      EXPECT_EQ(sky.SunText(), c.sun) << where;
    }
    if (c.moon) {
      EXPECT_EQ(sky.MoonText(), c.moon) << where;
    }
  }
}

TEST(SunMoon, PhaseSentences) {
  const struct {
    CDateTime date;
    const char* text;
  } cases[] = {
      {CDateTime(2003, 7, 4), "Moon Phase: Waxing crescent.  Age: 5 days, 34% full"},
      {CDateTime(2000, 1, 21), "There is a full moon."},
      {CDateTime(2000, 1, 6), "There is a new moon."},
      {CDateTime(2002, 6, 10), "Moon Phase: Waning crescent.  Age: 30 days, 0% full"},  // fraction 0.9994
  };
  for (const auto& c : cases) {
    CSunMoon sky;
    sky.SetDate(c.date);
    sky.SetPlace(Place(-45.0f, 120.0f, 300));  // the place does not matter
    EXPECT_EQ(sky.PhaseText(), c.text) << c.date.Format("%Y-%m-%d");
  }
}

TEST(SunMoon, DateTakesTheDayOnly) {
  CSunMoon sky;
  ASSERT_TRUE(sky.SetDate(CDateTime(2000, 1, 1, 23, 59, 0)));
  EXPECT_DOUBLE_EQ(sky.GetDayZero(), 2451544.5);
  EXPECT_FALSE(sky.SetDate(CDateTime(2000, 2, 30)));
  EXPECT_DOUBLE_EQ(sky.GetDayZero(), 2451544.5);
}

TEST(SunMoon, TimeTextCutsMinutes) {
  const struct {
    double hours;
    const char* text;
  } cases[] = {
      {0.5, "12:30 am. "},  {6 + 7.5 / 60, "06:07 am. "},  {12.25, "12:15 pm. "},
      {17.75, "05:45 pm. "}, {6 + 4 / 60.0 + 59 / 3600.0, "06:04 am. "}, {0.0, "12:00 am. "},
      {24.0, "11:59 pm. "},
      // Beyond the day and no number at all (found by fuzzing).
      {-HUGE_VAL, "12:00 am. "}, {HUGE_VAL, "11:59 pm. "}, {std::nan(""), "12:00 am. "},
  };
  for (const auto& c : cases) EXPECT_EQ(CSunMoon::TimeText(c.hours), c.text) << c.hours;
}

}  // namespace
