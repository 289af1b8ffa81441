#include "tests/lumen/lumen_run.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

TEST(LumenSky, ZoneAndBiasGiveTheSameTimes) {
  LumenSandbox box;
  const std::vector<std::string> place = {"sky", "--lat", "51.48", "--lon", "-0.0015"};
  auto sky = [&](std::vector<std::string> extra) {
    std::vector<std::string> args = place;
    args.insert(args.end(), extra.begin(), extra.end());
    const RunResult r = box.Run(args);
    EXPECT_EQ(r.status, 0) << r.err;
    return r.out;
  };
  const std::string summer = sky({"--date", "2024-07-01", "--bias", "-60"});
  ASSERT_EQ(Lines(summer).size(), 3u);
  EXPECT_EQ(Lines(summer)[0].rfind("The Sun rises at 04:", 0), 0u) << summer;
  EXPECT_EQ(sky({"--date", "2024-07-01", "--zone", "GMT Standard Time"}), summer);
  EXPECT_EQ(sky({"--date", "2024-07-01", "--zone", "gmt standard time"}), summer);
  // In winter the zone keeps standard time, as the longitude's zone does.
  const std::string winter = sky({"--date", "2024-01-15", "--bias", "0"});
  EXPECT_EQ(sky({"--date", "2024-01-15", "--zone", "GMT Standard Time"}), winter);
  EXPECT_EQ(sky({"--date", "2024-01-15"}), winter);
  EXPECT_NE(winter, sky({"--date", "2024-01-15", "--bias", "-60"}));

  const RunResult r = box.Run({"sky", "--lat", "0", "--lon", "0", "--zone", "Atlantis Time"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("no time zone 'Atlantis Time'"), std::string::npos) << r.err;
}

TEST(LumenZones, OneLinePerZoneWithTheBiasOfTheDate) {
  LumenSandbox box;
  const auto bias = [&](const char* date) {
    const RunResult r = box.Run({"zones", "--date", date});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_GT(Lines(r.out).size(), 50u);
    for (const std::string& line : Lines(r.out)) {
      std::vector<std::string> fields;
      std::istringstream in(line);
      for (std::string f; std::getline(in, f, '\t');) fields.push_back(f);
      EXPECT_EQ(fields.size(), 4u) << line;
      if (fields.size() == 4 && fields[0] == "GMT Standard Time") return fields[3];
    }
    return std::string("missing");
  };
  EXPECT_EQ(bias("2024-07-01"), "-60");
  EXPECT_EQ(bias("2024-01-15"), "0");
}

TEST(LumenPlaces, SetStoresOnePlaceAndListShowsIt) {
  LumenSandbox box;
  RunResult r = box.Run({"places"});
  ASSERT_EQ(r.status, 0) << r.err;
  ASSERT_EQ(Lines(r.out).size(), 5u);
  EXPECT_EQ(Lines(r.out)[1], "1\tLocation1\t40.0000\t100.0000\t\t");

  r = box.Run({"places", "set", "2", "--name", "Paris", "--lat", "48.8566", "--lon", "2.3522",
               "--zone", "Romance Standard Time"});
  ASSERT_EQ(r.status, 0) << r.err;
  r = box.Run({"places", "set", "0", "--name", "South Pole", "--lat", "-90", "--lon", "-180"});
  ASSERT_EQ(r.status, 0) << r.err;
  r = box.Run({"places"});
  const std::vector<std::string> lines = Lines(r.out);
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[0], "0\tSouth Pole\t-90.0000\t-180.0000\t\t");
  EXPECT_EQ(lines[2].rfind("2\tParis\t48.8566\t2.3522\tRomance Standard Time\t(UTC+01:00)", 0), 0u) << lines[2];

  r = box.Run({"places", "set", "3", "--name", "X", "--lat", "1", "--lon", "1", "--zone", "Nowhere"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(Lines(box.Run({"places"}).out)[3], "3\tLocation3\t40.0000\t100.0000\t\t");
}

}  // namespace
