// The time zone database against the C library's own reading of the system
// zone files: every zone, through the year, and around each change of offset.
#include "orrery/sky/time_zones.h"
#include "platform/timezone_db.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
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
    const ScopedTz tz(name->second);
    std::vector<std::pair<time_t, long>> moments;  // UTC instant, offset
    for (int month = 1; month <= 12; ++month) {
      std::tm noon{};
      noon.tm_year = year - 1900;
      noon.tm_mon = month - 1;
      noon.tm_mday = 15;
      noon.tm_hour = 12;
      noon.tm_isdst = -1;
      const time_t t = mktime(&noon);
      moments.emplace_back(t, Offset(t));
    }
    for (time_t change : Changes(year))
      for (int hours = -3; hours <= 3; ++hours)
        moments.emplace_back(change + hours * 3600, Offset(change + hours * 3600));

    std::string failure;
    for (const auto& [t, offset] : moments) {
      CDateTime wall;
      if (!UnambiguousWallTime(t, Offset(t - 4 * 3600), Offset(t + 4 * 3600), &wall)) continue;
      int bias = 0;
      const std::string zoneName = ReadTimeZone(key, wall, &bias);
      if (zoneName.empty() || bias != -offset / 60) {
        failure = name->second + " at " + wall.Format("%Y-%m-%d %H:%M:%S") + ": bias " +
                  std::to_string(bias) + ", expected " + std::to_string(-offset / 60);
        break;
      }
    }
    if (!failure.empty()) mismatched.push_back(key + " (" + failure + ")");
  }
  std::string names;
  for (const auto& m : mismatched) names += "\n  " + m;
  EXPECT_TRUE(mismatched.empty()) << "zones that do not match the system's data:" << names;
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
