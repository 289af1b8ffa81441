// lumen sky, lumen zones, lumen places.
#include "lumen/args.h"
#include "lumen/commands.h"
#include "lumen/output.h"
#include "orrery/sky/location_store.h"
#include "orrery/sky/sun_moon.h"
#include "orrery/sky/time_zones.h"

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <locale.h>

namespace {

constexpr size_t kNameLimit = sizeof(LocationRecord::name) - 1;
constexpr size_t kZoneKeyLimit = sizeof(LocationRecord::zoneKey) - 1;

CDateTime DateOption(const Args& args) {
  return args.Has("--date") ? ParseDate(args.Get("--date"), "--date")
                            : CDateTime::GetCurrentTime().GetDate();
}

CDateTime Noon(const CDateTime& date) {
  return CDateTime(date.GetYear(), date.GetMonth(), date.GetDay(), 12, 0, 0);
}

// The zone's key and display text as the database spells them; Failure when
// the database has no such zone.
LocationRecord FindZone(const std::string& key) {
  LocationRecord zone;
  if (key.size() <= kZoneKeyLimit) {
    if (HKEY root = OpenTimeZoneRoot()) {
      for (int i = 0; EnumTimeZone(root, i, zone); ++i) {
        if (strcasecmp(zone.zoneKey, key.c_str()) == 0) {
          RegCloseKey(root);
          return zone;
        }
      }
      RegCloseKey(root);
    }
  }
  throw Failure("no time zone '" + key + "' (see 'lumen zones')");
}

std::string FormatDegrees(float value) {
  static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
  const locale_t previous = uselocale(c);
  char text[32];
  std::snprintf(text, sizeof text, "%.4f", static_cast<double>(value));
  uselocale(previous);
  return text;
}

void PrintLine(const std::string& text) { PrintText(text); }

}  // namespace

int RunSky(const CommandArgs& argv) {
  const Args args(argv, {{"--lat", true}, {"--lon", true}, {"--bias", true}, {"--zone", true},
                         {"--date", true}},
                  0, 0);
  if (!args.Has("--lat") || !args.Has("--lon")) throw UsageError("--lat and --lon are needed");
  if (args.Has("--bias") && args.Has("--zone")) throw UsageError("give --bias or --zone, not both");
  const CDateTime date = DateOption(args);
  LocationRecord place;
  place.latitude = static_cast<float>(ParseNumber(args.Get("--lat"), "--lat", -90, 90));
  place.longitude = static_cast<float>(ParseNumber(args.Get("--lon"), "--lon", -180, 180));
  if (args.Has("--bias")) {
    place.bias = static_cast<int32_t>(ParseInteger(args.Get("--bias"), "--bias", -24 * 60, 24 * 60));
  } else if (args.Has("--zone")) {
    place.SetZoneKey(FindZone(args.Get("--zone")).zoneKey);
    ResolveZone(place, Noon(date));
  } else {
    LongitudeZone(place.longitude, &place.bias);
  }
  CSunMoon sky;
  sky.SetDate(date);
  sky.SetPlace(place);
  PrintLine(sky.SunText());
  PrintLine(sky.MoonText());
  PrintLine(sky.PhaseText());
  return 0;
}

int RunZones(const CommandArgs& argv) {
  const Args args(argv, {{"--date", true}}, 0, 0);
  const CDateTime moment = Noon(DateOption(args));
  HKEY root = OpenTimeZoneRoot();
  if (!root) throw Failure("the time zone database cannot be read");
  LocationRecord zone;
  for (int i = 0; EnumTimeZone(root, i, zone); ++i) {
    int bias = 0;
    const std::string name = ReadTimeZone(zone.zoneKey, moment, &bias);
    std::printf("%s\t%s\t%s\t%d\n", zone.zoneKey, TerminalText(zone.zoneName).c_str(),
                name.c_str(), bias);
  }
  RegCloseKey(root);
  return 0;
}

int RunPlaces(const CommandArgs& argv) {
  const Args args(argv, {}, 0, 0);
  CLocationStore store;
  if (!store.GetLoadError().empty()) throw Failure(store.GetLoadError());
  for (int n = 0; n < CLocationStore::kCount; ++n) {
    const LocationRecord& r = n == 0 ? store.GetHome() : *store.GetLocation(n);
    std::printf("%d\t%s\t%s\t%s\t%s\t%s\n", n, r.name, FormatDegrees(r.latitude).c_str(),
                FormatDegrees(r.longitude).c_str(), r.zoneKey, r.zoneName);
  }
  return 0;
}

int RunPlacesSet(const CommandArgs& argv) {
  const Args args(argv, {{"--name", true}, {"--lat", true}, {"--lon", true}, {"--zone", true}}, 1, 1);
  const int index = static_cast<int>(ParseInteger(args.Positional()[0], "N", 0, CLocationStore::kCount - 1));
  if (!args.Has("--name") || !args.Has("--lat") || !args.Has("--lon"))
    throw UsageError("--name, --lat and --lon are needed");
  const std::string name = args.Get("--name");
  if (name.size() > kNameLimit)
    throw UsageError("--name may have at most " + std::to_string(kNameLimit) + " characters");
  LocationRecord place;
  place.SetName(name);
  place.latitude = static_cast<float>(ParseNumber(args.Get("--lat"), "--lat", -90, 90));
  place.longitude = static_cast<float>(ParseNumber(args.Get("--lon"), "--lon", -180, 180));
  if (args.Has("--zone")) {
    const LocationRecord zone = FindZone(args.Get("--zone"));
    place.SetZoneKey(zone.zoneKey);
    place.SetZoneName(zone.zoneName);
  }
  CLocationStore store;
  store.SetLocation(index, place);
  if (!store.Save()) throw Failure("the place could not be stored: " + store.GetSaveError());
  return 0;
}
