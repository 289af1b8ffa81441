// The time zone database against the C library's own reading of the system
// zone files: every zone, through the year, and around each change of offset.
#include "orrery/sky/time_zones.h"
#include "platform/timezone_db.h"
#include "platform/tzdb/tzif.h"
#include "platform/tzdb/zone_rule.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <strings.h>

namespace {

const char* kWindowsZones = "/usr/share/unicode/cldr/common/supplemental/windowsZones.xml";

// Windows id -> IANA name, read here with a plain pattern.
std::map<std::string, std::string> IanaNames() {
  std::ifstream in(kWindowsZones);
  std::stringstream text;
  text << in.rdbuf();
  const std::string xml = text.str();
  std::map<std::string, std::string> names;
  const std::regex mapZone(R"re(<mapZone other="([^"]+)" territory="001" type="([^" ]+)")re");
  for (std::sregex_iterator it(xml.begin(), xml.end(), mapZone), end; it != end; ++it)
    names.emplace((*it)[1].str(), (*it)[2].str());
  return names;
}

// Sets TZ for one zone and restores it afterwards.
class ScopedTz {
public:
  explicit ScopedTz(const std::string& zone) {
    if (const char* old = std::getenv("TZ")) m_old = old;
    m_had = std::getenv("TZ") != nullptr;
    setenv("TZ", zone.c_str(), 1);
    tzset();
  }
  ~ScopedTz() {
    if (m_had) setenv("TZ", m_old.c_str(), 1);
    else unsetenv("TZ");
    tzset();
  }

private:
  std::string m_old;
  bool m_had = false;
};

long Offset(time_t t) {
  std::tm tm{};
  localtime_r(&t, &tm);
  return tm.tm_gmtoff;
}

// The local wall clock of t, unless that wall time is ambiguous or skipped.
bool UnambiguousWallTime(time_t t, long before, long after, CDateTime* wall) {
  std::tm tm{};
  localtime_r(&t, &tm);
  const long wallSeconds = static_cast<long>(t) + tm.tm_gmtoff;
  int matches = 0;
  for (long offset : {before, after})
    if (Offset(static_cast<time_t>(wallSeconds - offset)) == offset) ++matches;
  if (before == after ? matches != 2 : matches != 1) return false;
  *wall = CDateTime(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec);
  return wall->IsValid();
}

// The moments of the year at which the offset changes, to the second.
std::vector<time_t> Changes(int year) {
  std::tm start{};
  start.tm_year = year - 1900;
  start.tm_mday = 1;
  const time_t from = timegm(&start);
  start.tm_year += 1;
  const time_t to = timegm(&start);
  std::vector<time_t> changes;
  for (time_t t = from; t < to; t += 3600) {
    if (Offset(t) == Offset(t + 3600)) continue;
    time_t lo = t, hi = t + 3600;  // Offset(lo) != Offset(hi)
    while (hi - lo > 1) {
      const time_t mid = lo + (hi - lo) / 2;
      (Offset(mid) == Offset(lo) ? lo : hi) = mid;
    }
    changes.push_back(hi);
  }
  return changes;
}

// Checks biasAt (local wall time -> bias) for one zone through the year: the
// 15th of each month at noon and the hours around each change of offset.
// Returns what went wrong, or "".
std::string CheckZone(const std::string& iana, int year,
                      const std::function<bool(const CDateTime&, int*)>& biasAt) {
  const ScopedTz tz(iana);
  std::vector<time_t> moments;
  for (int month = 1; month <= 12; ++month) {
    std::tm noon{};
    noon.tm_year = year - 1900;
    noon.tm_mon = month - 1;
    noon.tm_mday = 15;
    noon.tm_hour = 12;
    noon.tm_isdst = -1;
    moments.push_back(mktime(&noon));
  }
  for (time_t change : Changes(year))
    for (int hours = -3; hours <= 3; ++hours) moments.push_back(change + hours * 3600);
  for (time_t t : moments) {
    CDateTime wall;
    if (!UnambiguousWallTime(t, Offset(t - 4 * 3600), Offset(t + 4 * 3600), &wall)) continue;
    int bias = 0;
    const long expected = -Offset(t) / 60;
    if (!biasAt(wall, &bias) || bias != expected)
      return iana + " at " + wall.Format("%Y-%m-%d %H:%M:%S") + ": bias " + std::to_string(bias) +
             ", expected " + std::to_string(expected);
  }
  return {};
}

std::string List(const std::vector<std::string>& items) {
  std::string text;
  for (const auto& item : items) text += "\n  " + item;
  return text;
}

TEST(TimeZoneDatabase, EveryZoneAgreesWithTheCLibrary) {
  const std::map<std::string, std::string> iana = IanaNames();
  HKEY root = OpenTimeZoneRoot();
  ASSERT_NE(root, nullptr);
  const int year = CDateTime::GetCurrentTime().GetYear();
  std::vector<std::string> listed, mismatched;
  LocationRecord record;
  for (int i = 0; EnumTimeZone(root, i, record); ++i) listed.push_back(record.zoneKey);
  RegCloseKey(root);
  EXPECT_GT(listed.size(), 130u);
  EXPECT_TRUE(std::is_sorted(listed.begin(), listed.end(), [](const std::string& a, const std::string& b) {
    return strcasecmp(a.c_str(), b.c_str()) < 0;
  }));

  for (const std::string& key : listed) {
    const auto name = iana.find(key);
    if (name == iana.end()) {
      mismatched.push_back(key + " (no IANA zone)");
      continue;
    }
    const std::string failure = CheckZone(name->second, year, [&](const CDateTime& wall, int* bias) {
      return !ReadTimeZone(key, wall, bias).empty();
    });
    if (!failure.empty()) mismatched.push_back(key + " (" + failure + ")");
  }
  EXPECT_TRUE(mismatched.empty()) << "zones that do not match the system's data:" << List(mismatched);
}

// Years past the zone files' tables come from their closing rule strings.
TEST(TimeZoneDatabase, RulesOfALaterYearAgreeToo) {
  const int year = 2045;
  std::vector<std::string> mismatched;
  for (const auto& [key, iana] : IanaNames()) {
    const auto file = tzdb::ReadZoneFile("/usr/share/zoneinfo/" + iana);
    if (!file) {
      mismatched.push_back(key + " (unreadable " + iana + ")");
      continue;
    }
    tzdb::RuleKind kind;
    const std::string bytes = tzdb::EncodeTzi(tzdb::RuleForYear(*file, year, 0, &kind));
    // A year with daylight time suspended for some weeks has no exact rule.
    if (kind == tzdb::RuleKind::kOuterChanges || kind == tzdb::RuleKind::kInForce) continue;
    ASSERT_EQ(bytes.size(), sizeof(REG_TZI_FORMAT));
    REG_TZI_FORMAT rule;
    std::memcpy(&rule, bytes.data(), sizeof rule);
    const std::string failure = CheckZone(iana, year, [&](const CDateTime& wall, int* bias) {
      *bias = rule.Bias + (IsDaylightTime(rule, wall) ? rule.DaylightBias : rule.StandardBias);
      return true;
    });
    if (!failure.empty()) mismatched.push_back(key + " (" + failure + ")");
  }
  EXPECT_TRUE(mismatched.empty()) << "zones that do not match the system's data:" << List(mismatched);

  // The closing rule alone, as a file without a table past 2037 gives it.
  tzdb::ZoneFile footerOnly;
  footerOnly.types.push_back({3600, false});
  footerOnly.footer = "CET-1CEST,M3.5.0,M10.5.0/3";
  const tzdb::TziRule cet = tzdb::RuleForYear(footerOnly, year, 0);
  EXPECT_EQ(cet.bias, -60);
  EXPECT_EQ(cet.daylightBias, -60);
  EXPECT_EQ(cet.daylightDate.month, 3);
  EXPECT_EQ(cet.daylightDate.day, 5);
  EXPECT_EQ(cet.standardDate.month, 10);
  EXPECT_EQ(cet.standardDate.hour, 3);
}

int64_t Utc(int year, int month, int day, int hour) {
  std::tm tm{};
  tm.tm_year = year - 1900;
  tm.tm_mon = month - 1;
  tm.tm_mday = day;
  tm.tm_hour = hour;
  return timegm(&tm);
}

int BiasAt(const tzdb::TziRule& tzi, const CDateTime& date) {
  REG_TZI_FORMAT rule;
  const std::string bytes = tzdb::EncodeTzi(tzi);
  std::memcpy(&rule, bytes.data(), sizeof rule);
  return rule.Bias + (IsDaylightTime(rule, date) ? rule.DaylightBias : rule.StandardBias);
}

TEST(TimeZoneDatabase, YearsWithoutOneYearlyRule) {
  // A lasting move from +03 to +02 on 1 June: exact for that year.
  tzdb::ZoneFile moved;
  moved.types = {{3 * 3600, false}, {2 * 3600, false}};
  moved.transitions = {Utc(2026, 6, 1, 0)};
  moved.typeIndex = {1};
  tzdb::RuleKind kind;
  const tzdb::TziRule once = tzdb::RuleForYear(moved, 2026, 0, &kind);
  EXPECT_EQ(kind, tzdb::RuleKind::kOneChange);
  EXPECT_EQ(BiasAt(once, CDateTime(2026, 1, 1, 0, 30, 0)), -180);
  EXPECT_EQ(BiasAt(once, CDateTime(2026, 6, 1, 2, 30, 0)), -180);
  EXPECT_EQ(BiasAt(once, CDateTime(2026, 6, 1, 3, 30, 0)), -120);
  EXPECT_EQ(BiasAt(once, CDateTime(2026, 12, 31, 23, 0, 0)), -120);

  // Daylight time suspended from mid-July to late August: the outer dates.
  tzdb::ZoneFile suspended;
  suspended.types = {{2 * 3600, false}, {3 * 3600, true}};
  suspended.transitions = {Utc(2045, 3, 25, 0), Utc(2045, 7, 14, 23), Utc(2045, 8, 26, 0), Utc(2045, 10, 27, 23)};
  suspended.typeIndex = {1, 0, 1, 0};
  const tzdb::TziRule outer = tzdb::RuleForYear(suspended, 2045, 0, &kind);
  EXPECT_EQ(kind, tzdb::RuleKind::kOuterChanges);
  EXPECT_EQ(BiasAt(outer, CDateTime(2045, 2, 1)), -120);
  EXPECT_EQ(BiasAt(outer, CDateTime(2045, 5, 1)), -180);
  EXPECT_EQ(BiasAt(outer, CDateTime(2045, 11, 1)), -120);

  // Three offsets in one year: the one in force at the given moment.
  tzdb::ZoneFile three;
  three.types = {{0, false}, {3600, false}, {7200, false}};
  three.transitions = {Utc(2030, 3, 1, 0), Utc(2030, 9, 1, 0)};
  three.typeIndex = {1, 2};
  EXPECT_EQ(tzdb::RuleForYear(three, 2030, Utc(2030, 5, 1, 0), &kind).bias, -60);
  EXPECT_EQ(kind, tzdb::RuleKind::kInForce);
}

// A change counts in the year of the local clock at which it happens, even
// when UTC is still or already in another year.
TEST(TimeZoneDatabase, ChangesAtTheTurnOfTheYear) {
  // +06 with daylight time +07 from 20 June to the end of 31 December 2009
  // (local midnight, 17:00 UTC): daylight time did not begin the year.
  tzdb::ZoneFile endsAtMidnight;
  endsAtMidnight.types = {{6 * 3600, false}, {7 * 3600, true}};
  endsAtMidnight.transitions = {Utc(2009, 6, 19, 17), Utc(2009, 12, 31, 17)};
  endsAtMidnight.typeIndex = {1, 0};
  // +03 moves to +04 at local midnight of 1 January 2027 (21:00 UTC the day before).
  tzdb::ZoneFile movesAtNewYear;
  movesAtNewYear.types = {{3 * 3600, false}, {4 * 3600, false}};
  movesAtNewYear.transitions = {Utc(2026, 12, 31, 21)};
  movesAtNewYear.typeIndex = {1};
  const struct {
    const tzdb::ZoneFile* zone;
    int year;
    CDateTime wall;
    int bias;
  } cases[] = {
      {&endsAtMidnight, 2009, CDateTime(2009, 1, 1, 12, 0, 0), -360},
      {&endsAtMidnight, 2009, CDateTime(2009, 7, 1, 12, 0, 0), -420},
      {&endsAtMidnight, 2009, CDateTime(2009, 12, 31, 22, 0, 0), -420},
      {&endsAtMidnight, 2010, CDateTime(2010, 1, 1, 12, 0, 0), -360},
      {&movesAtNewYear, 2026, CDateTime(2026, 7, 1, 12, 0, 0), -180},
      {&movesAtNewYear, 2026, CDateTime(2026, 12, 31, 23, 0, 0), -180},
      {&movesAtNewYear, 2027, CDateTime(2027, 1, 1, 12, 0, 0), -240},
  };
  for (const auto& c : cases)
    EXPECT_EQ(BiasAt(tzdb::RuleForYear(*c.zone, c.year, 0), c.wall), c.bias) << c.wall.Format("%Y-%m-%d %H:%M");
}

TEST(TimeZoneDatabase, DamagedZoneFilesAreRefused) {
  const std::string bytes = ReadFileBytes("/usr/share/zoneinfo/Europe/Berlin");
  ASSERT_GT(bytes.size(), 100u);
  ASSERT_TRUE(tzdb::ParseZoneFile(bytes).has_value());
  for (size_t n = 0; n < bytes.size(); n += 5) {
    const auto zone = tzdb::ParseZoneFile(bytes.substr(0, n));
    if (!zone) continue;
    for (uint8_t index : zone->typeIndex) ASSERT_LT(index, zone->types.size()) << n;
  }
  std::string corrupt = bytes;
  corrupt[20 + 16] = '\x7f';  // an absurd count in the first header
  EXPECT_FALSE(tzdb::ParseZoneFile(corrupt).has_value());
}

TEST(TimeZoneDatabase, ZoneValuesAreWindowsShaped) {
  HKEY zone = nullptr;
  ASSERT_EQ(RegOpenKeyEx(HKEY_LOCAL_MACHINE,
                         "Software\\Microsoft\\Windows NT\\CurrentVersion\\Time Zones\\eastern standard time",
                         KEY_READ, &zone),
            ERROR_SUCCESS);
  char text[350];
  uint32_t size = sizeof text;
  uint32_t type = 0;
  ASSERT_EQ(RegQueryValueEx(zone, "Display", &type, reinterpret_cast<uint8_t*>(text), &size), ERROR_SUCCESS);
  EXPECT_EQ(type, uint32_t{REG_SZ});
  EXPECT_STREQ(text, "(UTC-05:00) Eastern Time (US & Canada)");
  size = sizeof text;
  ASSERT_EQ(RegQueryValueEx(zone, "Dlt", &type, reinterpret_cast<uint8_t*>(text), &size), ERROR_SUCCESS);
  EXPECT_STREQ(text, "Eastern Daylight Time");

  REG_TZI_FORMAT tzi;
  size = sizeof tzi;
  ASSERT_EQ(RegQueryValueEx(zone, "TZI", &type, reinterpret_cast<uint8_t*>(&tzi), &size), ERROR_SUCCESS);
  EXPECT_EQ(type, uint32_t{REG_BINARY});
  EXPECT_EQ(size, 44u);
  EXPECT_EQ(tzi.Bias, 300);
  EXPECT_EQ(tzi.DaylightBias, -60);
  // Second Sunday of March and first Sunday of November, at 02:00.
  EXPECT_EQ(tzi.DaylightDate.wMonth, 3);
  EXPECT_EQ(tzi.DaylightDate.wDay, 2);
  EXPECT_EQ(tzi.DaylightDate.wHour, 2);
  EXPECT_EQ(tzi.StandardDate.wMonth, 11);
  EXPECT_EQ(tzi.StandardDate.wDay, 1);
  EXPECT_EQ(tzi.StandardDate.wDayOfWeek, 0);
  EXPECT_EQ(RegSetValueEx(zone, "Std", REG_SZ, reinterpret_cast<const uint8_t*>("x"), 2), ERROR_ACCESS_DENIED);
  RegCloseKey(zone);

  // Only the Windows NT path exists.
  HKEY other = nullptr;
  EXPECT_NE(RegOpenKeyEx(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Time Zones",
                         KEY_READ, &other),
            ERROR_SUCCESS);
}

TEST(TimeZoneDatabase, MissingFilesGiveNoZones) {
  TempDir dir;
  EXPECT_EQ(MakeTimeZoneProvider(dir.file("none.xml"), dir.path()), nullptr);

  // Zones whose zone file is missing or corrupt are left out.
  WriteFileBytes(dir.file("zones.xml"),
                 "<!-- (UTC+01:00) Somewhere -->\n"
                 "<mapZone other=\"Some Standard Time\" territory=\"001\" type=\"Some/Place\"/>\n"
                 "<mapZone other=\"Bad Standard Time\" territory=\"001\" type=\"Bad/Place\"/>\n"
                 "<mapZone other=\"Escape Standard Time\" territory=\"001\" type=\"../../etc/passwd\"/>\n");
  std::filesystem::create_directories(dir.file("Bad"));
  WriteFileBytes(dir.file("Bad/Place"), "TZif2 not really");
  auto provider = MakeTimeZoneProvider(dir.file("zones.xml"), dir.path());
  ASSERT_NE(provider, nullptr);
  EXPECT_TRUE(provider->KeyExists(""));
  EXPECT_TRUE(provider->SubKeys("").empty());
  EXPECT_FALSE(provider->KeyExists("Some Standard Time"));
}

}  // namespace
