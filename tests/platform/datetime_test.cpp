#include "platform/datetime.h"

#include "tests/support/locale_env.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <ctime>
#include <string>

TEST(DateTime, ValidatesItsFields) {
  struct Case { int y, mo, d, h, mi, s; bool valid; };
  const Case cases[] = {
      {2024, 2, 29, 0, 0, 0, true},   {2023, 2, 29, 0, 0, 0, false}, {1900, 2, 29, 0, 0, 0, false},
      {2000, 2, 29, 0, 0, 0, true},   {2005, 4, 31, 0, 0, 0, false}, {2005, 13, 1, 0, 0, 0, false},
      {2005, 1, 0, 0, 0, 0, false},   {2005, 1, 1, 24, 0, 0, false}, {2005, 1, 1, 23, 59, 59, true},
      {2005, 1, 1, 0, 60, 0, false},  {99, 12, 31, 0, 0, 0, false},  {10000, 1, 1, 0, 0, 0, false},
  };
  for (const Case& c : cases) {
    const CDateTime t(c.y, c.mo, c.d, c.h, c.mi, c.s);
    EXPECT_EQ(t.IsValid(), c.valid) << c.y << "-" << c.mo << "-" << c.d << " " << c.h << ":" << c.mi;
  }
  EXPECT_FALSE(CDateTime().IsValid());
  EXPECT_EQ(CDateTime().GetYear(), -1);
}

TEST(DateTime, CountsDaysFromTheEndOf1899) {
  struct Case { int y, mo, d; long long dayNumber; int dayOfWeek, dayOfYear; };
  const Case cases[] = {
      {1899, 12, 30, 0, 7, 364},     // a Saturday
      {1900, 1, 1, 2, 2, 1},         // Monday
      {2000, 1, 1, 36526, 7, 1},     // Saturday
      {2024, 12, 31, 45657, 3, 366}, // Tuesday of a leap year
      {2026, 12, 11, 46367, 6, 345}, // Friday
      {1800, 1, 1, -36522, 4, 1},    // before the count starts: Wednesday
  };
  for (const Case& c : cases) {
    const CDateTime t(c.y, c.mo, c.d);
    EXPECT_EQ(t.GetDayNumber(), c.dayNumber) << c.y << "-" << c.mo << "-" << c.d;
    EXPECT_EQ(t.GetDayOfWeek(), c.dayOfWeek) << c.y << "-" << c.mo << "-" << c.d;
    EXPECT_EQ(t.GetDayOfYear(), c.dayOfYear) << c.y << "-" << c.mo << "-" << c.d;
  }
  const CDateTime noon(2000, 1, 1, 12, 0, 0);
  EXPECT_DOUBLE_EQ(noon.GetDays(), 36526.5);
  EXPECT_EQ(CDateTime::FromDays(36526.5), noon);
  EXPECT_EQ(noon.GetDate(), CDateTime(2000, 1, 1));
}

TEST(DateTime, AddsSpansAcrossMonthsAndYears) {
  const CDateTime t(2004, 12, 31, 23, 30, 0);
  const CDateTime next = t + CDateTimeSpan(0, 1, 0, 0);
  EXPECT_EQ(next, CDateTime(2005, 1, 1, 0, 30, 0));
  EXPECT_EQ(CDateTime(2004, 2, 28).AddDays(1), CDateTime(2004, 2, 29));
  EXPECT_EQ(CDateTime(2005, 3, 1).AddDays(-1), CDateTime(2005, 2, 28));
  EXPECT_EQ((CDateTime(2005, 1, 2) - CDateTime(2005, 1, 1)).GetTotalSeconds(), 86400);
  EXPECT_FALSE(CDateTime(9999, 12, 31).AddDays(1).IsValid());
  EXPECT_FALSE(CDateTime().AddDays(1).IsValid());
}

TEST(DateTime, AnInvalidValueComparesNeitherWay) {
  const CDateTime bad;
  const CDateTime good(2005, 6, 1);
  EXPECT_FALSE(bad < good);
  EXPECT_FALSE(bad > good);
  EXPECT_FALSE(bad <= good);
  EXPECT_FALSE(bad >= good);
  EXPECT_FALSE(bad == good);
  EXPECT_FALSE(bad != good);
  EXPECT_FALSE(bad == bad);
  EXPECT_TRUE(good < good.AddDays(1));
  EXPECT_TRUE(good <= good);
}

TEST(DateTime, FormatsInEnglishWhateverTheLocale) {
  TempDir dir;
  const std::string german = CompileLocale(dir.path(), "de_DE", "UTF-8");
  setenv("LANG", german.c_str(), 1);
  setenv("LC_ALL", german.c_str(), 1);
  const char* applied = std::setlocale(LC_ALL, "");
  ASSERT_NE(applied, nullptr) << "could not build a German locale for the test";
  // The process's own strftime now speaks German...
  char buffer[64];
  std::tm tm{};
  tm.tm_year = 126;
  tm.tm_mon = 11;
  tm.tm_mday = 11;
  tm.tm_wday = 5;
  std::strftime(buffer, sizeof buffer, "%A", &tm);
  EXPECT_STREQ(buffer, "Freitag");

  // ...while dates keep to the "C" locale.
  const CDateTime t(2026, 12, 11, 15, 5, 9);
  EXPECT_EQ(t.Format("%A, %d %B %Y %I:%M %p"), "Friday, 11 December 2026 03:05 PM");
  EXPECT_EQ(t.Format("%d %B %Y   %A"), "11 December 2026   Friday");
  EXPECT_EQ(t.Format("(%a) - "), "(Fri) - ");
  EXPECT_EQ(t.Format("{*** %b %d ***}"), "{*** Dec 11 ***}");
  EXPECT_EQ(CDateTime().Format("%A"), "");

  std::setlocale(LC_ALL, "C");
  unsetenv("LC_ALL");
  unsetenv("LANG");
}

TEST(DateTime, CurrentUtcTimeOfAFixedMomentGoesThroughTheSystemsZone) {
  const char* before = std::getenv("TZ");
  const std::string saved = before ? before : "";
  setenv("TZ", "Europe/Berlin", 1);
  tzset();
  struct Case {
    CDateTime local, utc;
  } cases[] = {
      {{2026, 1, 15, 12, 0, 0}, {2026, 1, 15, 11, 0, 0}},   // winter: one hour ahead
      {{2026, 7, 15, 12, 0, 0}, {2026, 7, 15, 10, 0, 0}},   // summer: two
      {{2027, 1, 1, 0, 30, 0}, {2026, 12, 31, 23, 30, 0}},  // across New Year
  };
  for (const Case& c : cases) {
    CDateTime::FixCurrentTime(c.local);
    EXPECT_EQ(CDateTime::GetCurrentUtcTime().Format("%Y-%m-%d %H:%M"), c.utc.Format("%Y-%m-%d %H:%M"));
  }
  CDateTime::FixCurrentTime(CDateTime());
  EXPECT_TRUE(CDateTime::GetCurrentUtcTime().IsValid());
  if (before) setenv("TZ", saved.c_str(), 1); else unsetenv("TZ");
  tzset();
}
