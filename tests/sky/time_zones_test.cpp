#include "orrery/sky/time_zones.h"

#include "orrery/app/settings_store.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <map>

namespace {

SYSTEMTIME Rule(int month, int dayOfWeek, int day, int hour, int year = 0) {
  SYSTEMTIME st;
  st.wYear = static_cast<uint16_t>(year);
  st.wMonth = static_cast<uint16_t>(month);
  st.wDayOfWeek = static_cast<uint16_t>(dayOfWeek);
  st.wDay = static_cast<uint16_t>(day);
  st.wHour = static_cast<uint16_t>(hour);
  return st;
}

TEST(LongitudeZone, TruncatesTowardZero) {
  const struct {
    float longitude;
    const char* name;
    int bias;
  } cases[] = {
      {100.0f, "GMT+6", -360}, {-74.0f, "GMT-4", 240},  {14.9f, "GMT+0", 0},
      {-7.5f, "GMT+0", 0},     {180.0f, "GMT+12", -720}, {-122.4f, "GMT-8", 480},
      // Stored longitudes are not range-checked; absurd ones stay defined.
      {540.0f, "GMT+36", -2160}, {NAN, "GMT+0", 0},     {-1e30f, "GMT+0", 0},
  };
  for (const auto& c : cases) {
    int bias = 1;
    EXPECT_EQ(LongitudeZone(c.longitude, &bias), c.name) << c.longitude;
    EXPECT_EQ(bias, c.bias) << c.longitude;
  }
}

TEST(TransitionDate, RelativeAndLiteralRules) {
  const struct {
    SYSTEMTIME rule;
    int year;
    CDateTime expected;
  } cases[] = {
      {Rule(4, 0, 1, 2), 2005, CDateTime(2005, 4, 3, 2, 0, 0)},      // first Sunday
      {Rule(10, 0, 5, 2), 2005, CDateTime(2005, 10, 30, 2, 0, 0)},   // last Sunday
      {Rule(2, 0, 5, 0), 2005, CDateTime(2005, 2, 27)},              // day 5, four Sundays: the fourth
      {Rule(3, 6, 2, 23), 2026, CDateTime(2026, 3, 14, 23, 0, 0)},   // second Saturday
      {Rule(3, 1, 9, 4, 2003), 2026, CDateTime(2003, 3, 9, 4, 0, 0)},  // literal: its own year
  };
  for (const auto& c : cases) {
    const CDateTime got = TransitionDate(c.rule, c.year);
    EXPECT_TRUE(got == c.expected) << got.Format("%Y-%m-%d %H:%M") << " for month " << c.rule.wMonth;
  }
  EXPECT_FALSE(TransitionDate(Rule(0, 0, 0, 0), 2005).IsValid());   // no transition
  EXPECT_FALSE(TransitionDate(Rule(13, 0, 1, 2), 2005).IsValid());  // no such month
  EXPECT_FALSE(TransitionDate(Rule(4, 7, 1, 2), 2005).IsValid());   // no such weekday
  EXPECT_FALSE(TransitionDate(Rule(2, 0, 30, 0, 2005), 2005).IsValid());
}

TEST(IsDaylightTime, NorthernSouthernAndNone) {
  REG_TZI_FORMAT north;
  north.DaylightDate = Rule(4, 0, 1, 2);
  north.StandardDate = Rule(10, 0, 5, 2);
  REG_TZI_FORMAT south;
  south.StandardDate = Rule(3, 0, 5, 3);
  south.DaylightDate = Rule(10, 0, 5, 2);
  REG_TZI_FORMAT none = north;
  none.StandardDate.wMonth = 0;
  const struct {
    const REG_TZI_FORMAT* rule;
    CDateTime date;
    bool daylight;
  } cases[] = {
      {&north, CDateTime(2005, 4, 3, 1, 0, 0), false},  {&north, CDateTime(2005, 4, 3, 3, 0, 0), true},
      {&north, CDateTime(2005, 7, 1, 12, 0, 0), true},  {&north, CDateTime(2005, 10, 30, 3, 0, 0), false},
      {&north, CDateTime(2005, 10, 30, 1, 0, 0), true}, {&south, CDateTime(2005, 1, 15, 12, 0, 0), true},
      {&south, CDateTime(2005, 6, 15, 12, 0, 0), false}, {&south, CDateTime(2005, 12, 1), true},
      {&none, CDateTime(2005, 7, 1, 12, 0, 0), false},   {&north, CDateTime(), false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(IsDaylightTime(*c.rule, c.date), c.daylight) << c.date.Format("%Y-%m-%d %H:%M");
}

// A small database mounted over the system's for one test.
class FakeZones : public RegProvider {
public:
  std::map<std::string, std::map<std::string, RegValue>> zones;
  bool KeyExists(const std::string& path) override { return path.empty() || zones.count(path); }
  std::vector<std::string> SubKeys(const std::string& path) override {
    std::vector<std::string> names;
    if (path.empty())
      for (const auto& z : zones) names.push_back(z.first);
    return names;
  }
  std::optional<RegValue> QueryValue(const std::string& path, const std::string& name) override {
    auto z = zones.find(path);
    if (z == zones.end()) return std::nullopt;
    auto v = z->second.find(name);
    if (v == z->second.end()) return std::nullopt;
    return v->second;
  }
};

RegValue Text(const std::string& s) {
  RegValue v{REG_SZ, std::vector<uint8_t>(s.begin(), s.end())};
  v.data.push_back(0);
  return v;
}

RegValue Tzi(const REG_TZI_FORMAT& rule, size_t size = sizeof(REG_TZI_FORMAT)) {
  const auto* bytes = reinterpret_cast<const uint8_t*>(&rule);
  return RegValue{REG_BINARY, std::vector<uint8_t>(bytes, bytes + size)};
}

class MountedZones : public ::testing::Test {
protected:
  void SetUp() override {
    REG_TZI_FORMAT north;
    north.Bias = 300;
    north.DaylightBias = -60;
    north.DaylightDate = Rule(4, 0, 1, 2);
    north.StandardDate = Rule(10, 0, 5, 2);
    REG_TZI_FORMAT fixed;
    fixed.Bias = -330;
    fixed.StandardBias = 15;
    const std::string longName(40, 'L');
    fake->zones["North"] = {{"Std", Text("North Standard")}, {"Dlt", Text("North Daylight")},
                            {"TZI", Tzi(north)}, {"Display", Text("(UTC-05:00) North")}};
    fake->zones["Fixed"] = {{"Dlt", Text("Fixed Daylight")}, {"TZI", Tzi(fixed)}};
    fake->zones["Long"] = {{"Std", Text(longName)}, {"Dlt", Text(longName)}, {"TZI", Tzi(fixed)}};
    fake->zones["NoDlt"] = {{"Std", Text("x")}, {"TZI", Tzi(fixed)}};
    fake->zones["NoTzi"] = {{"Std", Text("x")}, {"Dlt", Text("x")}};
    fake->zones["ShortTzi"] = {{"Std", Text("x")}, {"Dlt", Text("x")}, {"TZI", Tzi(fixed, 40)}};
    RegMount(HKEY_LOCAL_MACHINE, kPath, fake);
  }

  static constexpr const char* kPath = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Time Zones";
  TempRegistry reg;
  std::shared_ptr<FakeZones> fake = std::make_shared<FakeZones>();
};

TEST_F(MountedZones, ReadTimeZoneNamesAndBiases) {
  const struct {
    const char* key;
    CDateTime date;
    const char* name;
    int bias;
  } cases[] = {
      {"North", CDateTime(2005, 7, 1, 12, 0, 0), "North Daylight", 240},
      {"North", CDateTime(2005, 1, 1, 12, 0, 0), "North Standard", 300},
      {"Fixed", CDateTime(2005, 7, 1), "Fixed", -315},  // no "Std": the key; month 0: standard
      {"Long", CDateTime(2005, 7, 1), "LLLLLLLLLLLLLLLLLLLLLLLLLLLLLLL", -315},  // cut to 31
      {"NoDlt", CDateTime(2005, 7, 1), "", 0},
      {"NoTzi", CDateTime(2005, 7, 1), "", 0},
      {"ShortTzi", CDateTime(2005, 7, 1), "", 0},
      {"Missing", CDateTime(2005, 7, 1), "", 0},
      {"", CDateTime(2005, 7, 1), "", 0},
  };
  for (const auto& c : cases) {
    int bias = 99;
    EXPECT_EQ(ReadTimeZone(c.key, c.date, &bias), c.name) << c.key;
    EXPECT_EQ(bias, c.bias) << c.key;
  }
}

TEST_F(MountedZones, ResolveZoneFallsBackToTheLongitude) {
  LocationRecord record;
  record.longitude = -74.0f;
  record.SetZoneKey("North");
  EXPECT_EQ(ResolveZone(record, CDateTime(2005, 7, 1, 12, 0, 0)), "North Daylight");
  EXPECT_EQ(record.bias, 240);
  for (const char* key : {"Gone", "NoTzi", ""}) {
    record.SetZoneKey(key);
    record.bias = 7;
    EXPECT_EQ(ResolveZone(record, CDateTime(2005, 7, 1)), "GMT-4") << key;
    EXPECT_EQ(record.bias, 240) << key;
  }
}

TEST_F(MountedZones, EnumTimeZoneInKeyOrder) {
  HKEY root = OpenTimeZoneRoot();
  ASSERT_NE(root, nullptr);
  LocationRecord record;
  record.SetName("Keep");
  std::vector<std::pair<std::string, std::string>> seen;
  for (int i = 0; EnumTimeZone(root, i, record); ++i) seen.emplace_back(record.zoneKey, record.zoneName);
  ASSERT_EQ(seen.size(), 6u);
  EXPECT_EQ(seen[0].first, "Fixed");
  EXPECT_EQ(seen[0].second, "Fixed");  // no "Display": the key
  EXPECT_EQ(seen[3].first, "North");
  EXPECT_EQ(seen[3].second, "(UTC-05:00) North");
  EXPECT_STREQ(record.name, "Keep");
  EXPECT_STREQ(record.zoneKey, "ShortTzi");  // unchanged past the end
  EXPECT_FALSE(EnumTimeZone(root, -1, record));
  RegCloseKey(root);
  EXPECT_FALSE(EnumTimeZone(nullptr, 0, record));
}

TEST(TimeZoneRoot, NoDatabase) {
  TempRegistry reg;
  RegMount(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows NT\\CurrentVersion\\Time Zones", nullptr);
  EXPECT_EQ(OpenTimeZoneRoot(), nullptr);
  int bias = 5;
  EXPECT_EQ(ReadTimeZone("Eastern Standard Time", CDateTime(2005, 7, 1), &bias), "");
  EXPECT_EQ(bias, 0);
  LocationRecord record;
  record.longitude = 100.0f;
  record.SetZoneKey("Eastern Standard Time");
  EXPECT_EQ(ResolveZone(record, CDateTime(2005, 7, 1)), "GMT+6");
  EXPECT_EQ(record.bias, -360);
}

}  // namespace
