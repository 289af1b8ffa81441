#include "orrery/sky/location_store.h"

#include "orrery/app/settings_store.h"
#include "tests/support/locale_env.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstring>

namespace {


std::string Stored(const std::string& section, const std::string& entry) {
  return GetSettingsApp()->GetMachineProfileString(section, entry, "<missing>");
}

void Store(const std::string& section, const std::string& entry, const std::string& value) {
  ASSERT_TRUE(GetSettingsApp()->WriteMachineProfileString(section, entry, value));
}

LocationRecord Place(const char* name, float latitude, float longitude, const char* zoneKey = "") {
  LocationRecord r;
  r.SetName(name);
  r.latitude = latitude;
  r.longitude = longitude;
  r.SetZoneKey(zoneKey);
  r.SetZoneName(zoneKey[0] ? std::string("(UTC) ") + zoneKey : "");
  return r;
}

class LocationStoreTest : public ::testing::Test {
protected:
  TempRegistry reg;
  CSettingsApp app{"Orrery"};
};

TEST_F(LocationStoreTest, EmptyRegistryGivesDefaults) {
  CLocationStore store;
  EXPECT_STREQ(store.GetHome().name, "");
  EXPECT_EQ(store.GetHome().latitude, 40.0f);
  EXPECT_EQ(store.GetHome().longitude, 100.0f);
  EXPECT_STREQ(store.GetHome().zoneKey, "");
  for (int i = 1; i <= 4; ++i) {
    const LocationRecord* place = store.GetLocation(i);
    ASSERT_NE(place, nullptr);
    EXPECT_EQ(place->name, "Location" + std::to_string(i));
    EXPECT_EQ(place->latitude, 40.0f);
    EXPECT_EQ(place->longitude, 100.0f);
    EXPECT_STREQ(place->zoneName, "");
  }
  EXPECT_FALSE(store.IsModified());
}

TEST_F(LocationStoreTest, ScansNumbersAsPrintfDoes) {
  const struct {
    const char* text;
    float value;
  } cases[] = {
      {"abc", 40.0f}, {"  12.5xyz", 12.5f}, {"", 40.0f}, {"-33.900002", -33.9f},
      {"1e1", 10.0f}, {"+7", 7.0f},         {"nan", 40.0f}, {"inf", 40.0f},
  };
  for (const auto& c : cases) {
    Store("Location2", "Latitude", c.text);
    CLocationStore store;
    EXPECT_EQ(store.GetLocation(2)->latitude, c.value) << '"' << c.text << '"';
  }
  Store("Location0", "Longitude", "west");
  EXPECT_EQ(CLocationStore().GetHome().longitude, 100.0f);
}

TEST_F(LocationStoreTest, RoundTripsFivePlaces) {
  const LocationRecord places[] = {
      Place("Home", 51.5f, -0.12f, "GMT Standard Time"), Place("Sydney", -33.9f, 151.2f, "AUS Eastern Standard Time"),
      Place("", 0.0f, 0.0f), Place("North Cape", 71.17f, 25.78f, "W. Europe Standard Time"),
      Place("Lima", -12.05f, -77.04f, "SA Pacific Standard Time")};
  {
    CLocationStore store;
    for (int i = 0; i < 5; ++i) EXPECT_TRUE(store.SetLocation(i, places[i]));
    EXPECT_TRUE(store.IsModified());
  }  // saved here
  EXPECT_EQ(Stored("Location1", "Latitude"), "-33.900002");
  EXPECT_EQ(Stored("Location1", "Longitude"), "151.199997");
  EXPECT_EQ(Stored("Location1", "Time Key"), "AUS Eastern Standard Time");
  EXPECT_EQ(Stored("Location2", "Name"), "");
  CLocationStore store;
  for (int i = 0; i < 5; ++i) {
    const LocationRecord& got = i == 0 ? store.GetHome() : *store.GetLocation(i);
    EXPECT_STREQ(got.name, places[i].name) << i;
    EXPECT_EQ(got.latitude, places[i].latitude) << i;
    EXPECT_EQ(got.longitude, places[i].longitude) << i;
    EXPECT_STREQ(got.zoneName, places[i].zoneName) << i;
    EXPECT_STREQ(got.zoneKey, places[i].zoneKey) << i;
  }
}

TEST_F(LocationStoreTest, NumbersIgnoreTheUserLocale) {
  TempDir dir;
  const std::string german = CompileLocale(dir.path(), "de_DE", "UTF-8");
  const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
  if (german.empty() || !std::setlocale(LC_NUMERIC, german.c_str())) GTEST_SKIP() << "no German locale";
  {
    CLocationStore store;
    store.SetLocation(1, Place("Berlin", 52.5f, 13.4f));
  }
  EXPECT_EQ(Stored("Location1", "Latitude"), "52.500000");
  EXPECT_EQ(CLocationStore().GetLocation(1)->longitude, 13.4f);
  std::setlocale(LC_NUMERIC, previous.c_str());
}

TEST_F(LocationStoreTest, SavesOnlyWhenModified) {
  { CLocationStore store; }
  EXPECT_EQ(Stored("Location0", "Name"), "<missing>");
  {
    CLocationStore store;
    EXPECT_TRUE(store.SetLocation(0, store.GetHome()));  // same values still count
  }
  EXPECT_EQ(Stored("Location0", "Latitude"), "40.000000");
  EXPECT_EQ(Stored("Location4", "Name"), "<missing>");  // only the place that was set
}

TEST_F(LocationStoreTest, IndexesAndHomeComparison) {
  CLocationStore store;
  EXPECT_EQ(store.GetLocation(0), nullptr);
  EXPECT_EQ(store.GetLocation(5), nullptr);
  EXPECT_EQ(store.GetLocation(-1), nullptr);
  EXPECT_FALSE(store.SetLocation(5, Place("x", 1, 1)));
  EXPECT_FALSE(store.SetLocation(-1, Place("x", 1, 1)));
  EXPECT_FALSE(store.IsModified());

  store.SetLocation(0, Place("Home", 51.5f, 0.0f, "GMT Standard Time"));
  EXPECT_TRUE(store.IsHome(Place("Home", 51.5f, 0.0f)));          // zone not compared
  EXPECT_FALSE(store.IsHome(Place("home", 51.5f, 0.0f)));         // case matters
  EXPECT_FALSE(store.IsHome(Place("Home", 51.500004f, 0.0f)));
  EXPECT_FALSE(store.IsHome(Place("Home", 51.5f, -0.0001f)));
}

TEST_F(LocationStoreTest, LongTextsAreCutToTheirFields) {
  Store("Location1", "Name", std::string(40, 'n'));
  Store("Location1", "Time Zone", std::string(100, 'z'));
  // 30 ASCII characters and then a two-byte character that does not fit.
  Store("Location2", "Name", std::string(30, 'a') + "\xC3\xA9");
  CLocationStore store;
  EXPECT_EQ(std::string(store.GetLocation(1)->name), std::string(31, 'n'));
  EXPECT_EQ(std::string(store.GetLocation(1)->zoneName), std::string(79, 'z'));
  EXPECT_EQ(std::string(store.GetLocation(2)->name), std::string(30, 'a'));

  // Bytes that only look like parts of characters (another 8-bit charset) stay.
  LocationRecord latin;
  latin.SetName(std::string(31, 'a') + "\xB0\xB0");
  EXPECT_EQ(std::string(latin.name), std::string(31, 'a'));
  latin.SetName(std::string(29, 'a') + "\xB0\xB0\xB0");
  EXPECT_EQ(std::string(latin.name), std::string(29, 'a') + "\xB0\xB0");

  LocationRecord unterminated = Place("x", 1, 1);
  std::memset(unterminated.name, 'q', sizeof unterminated.name);
  store.SetLocation(3, unterminated);
  EXPECT_EQ(std::string(store.GetLocation(3)->name), std::string(31, 'q'));
}

TEST_F(LocationStoreTest, UnwritableMachineHiveGivesDefaults) {
  Store("Location0", "Name", "Home");
  RegSetHiveReadOnlyForTesting(HKEY_LOCAL_MACHINE, true);
  {
    CLocationStore store;
    EXPECT_STREQ(store.GetHome().name, "");  // the key cannot be opened for writing
    EXPECT_EQ(store.GetHome().latitude, 40.0f);
    EXPECT_STREQ(store.GetLocation(1)->name, "Location1");
    store.SetLocation(1, Place("Lost", 1, 2));
  }  // the save fails silently
  RegSetHiveReadOnlyForTesting(HKEY_LOCAL_MACHINE, false);
  EXPECT_EQ(Stored("Location1", "Name"), "<missing>");
  EXPECT_EQ(Stored("Location0", "Name"), "Home");
}

}  // namespace

namespace {

TEST_F(LocationStoreTest, StoresChangingDifferentPlacesKeepEachOthersChanges) {
  CLocationStore first, second;  // both loaded before either saves
  first.SetLocation(1, Place("Oslo", 59.9f, 10.7f));
  second.SetLocation(3, Place("Quito", -0.2f, -78.5f));
  EXPECT_TRUE(first.Save());
  EXPECT_TRUE(second.Save());
  EXPECT_FALSE(first.IsModified());
  CLocationStore check;
  EXPECT_STREQ(check.GetLocation(1)->name, "Oslo");
  EXPECT_STREQ(check.GetLocation(3)->name, "Quito");
  EXPECT_EQ(check.GetLocation(3)->longitude, -78.5f);
}

TEST_F(LocationStoreTest, FailedSaveIsToldAndNotWrittenLater) {
  {
    CLocationStore store;
    store.SetLocation(2, Place("Lost", 1, 2));
    RegSetHiveReadOnlyForTesting(HKEY_LOCAL_MACHINE, true);
    EXPECT_FALSE(store.Save());
    EXPECT_NE(store.GetSaveError().find("machine.db' cannot be written"), std::string::npos)
        << store.GetSaveError();
    EXPECT_TRUE(store.IsModified(2));  // still marked
    RegSetHiveReadOnlyForTesting(HKEY_LOCAL_MACHINE, false);
  }  // its failure was told: the destructor does not write it after all
  EXPECT_EQ(Stored("Location2", "Name"), "<missing>");

  CLocationStore store;
  store.SetLocation(2, Place("Kept", 1, 2));
  RegSetHiveReadOnlyForTesting(HKEY_LOCAL_MACHINE, true);
  EXPECT_FALSE(store.Save());
  RegSetHiveReadOnlyForTesting(HKEY_LOCAL_MACHINE, false);
  EXPECT_TRUE(store.Save());  // an explicit Save tries again
  EXPECT_EQ(store.GetSaveError(), "");
  EXPECT_EQ(Stored("Location2", "Name"), "Kept");
  {
    CLocationStore dropping;
    dropping.SetLocation(4, Place("Dropped", 1, 2));
    dropping.Discard();
    EXPECT_FALSE(dropping.IsModified());
  }
  EXPECT_EQ(Stored("Location4", "Name"), "<missing>");
}

}  // namespace
