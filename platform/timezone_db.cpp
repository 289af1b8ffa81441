#include "platform/timezone_db.h"

#include "platform/file.h"
#include "platform/tzdb/windows_zones.h"
#include "platform/tzdb/zone_rule.h"

#include <cctype>
#include <ctime>
#include <map>
#include <mutex>

namespace {

constexpr const char* kZoneInfoDir = "/usr/share/zoneinfo/";

struct CaseLess {
  bool operator()(const std::string& a, const std::string& b) const {
    for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
      const int x = std::tolower(static_cast<unsigned char>(a[i]));
      const int y = std::tolower(static_cast<unsigned char>(b[i]));
      if (x != y) return x < y;
    }
    return a.size() < b.size();
  }
};

struct ZoneEntry {
  std::string name;  // the key's own spelling
  RegValue display, standardName, daylightName, tzi;
};

RegValue Text(const std::string& text) {
  RegValue v;
  v.type = REG_SZ;
  v.data.assign(text.begin(), text.end());
  v.data.push_back(0);
  return v;
}

RegValue Binary(const std::string& bytes) {
  RegValue v;
  v.type = REG_BINARY;
  v.data.assign(bytes.begin(), bytes.end());
  return v;
}

// A zone name that stays inside the zone folder.
bool SafeZoneName(const std::string& name) {
  if (name.empty() || name.front() == '/' || name.find("..") != std::string::npos) return false;
  for (unsigned char c : name)
    if (!std::isalnum(c) && c != '/' && c != '_' && c != '-' && c != '+') return false;
  return true;
}

std::string DaylightName(const std::string& id) {
  std::string name = id;
  const size_t at = name.find("Standard");
  if (at != std::string::npos) name.replace(at, 8, "Daylight");
  return name;
}

// Serves one subkey per Windows zone id with "Display", "Std", "Dlt" and
// "TZI". The files are read at the first question, never at construction,
// and the rules are those of the local year of that first reading.
class TimeZoneProvider : public RegProvider {
public:
  TimeZoneProvider(std::string windowsZones, std::string zoneInfoDir)
      : m_windowsZones(std::move(windowsZones)), m_zoneInfoDir(std::move(zoneInfoDir)) {}

  bool KeyExists(const std::string& path) override {
    if (path.empty()) return true;
    return Find(path) != nullptr;
  }

  std::vector<std::string> SubKeys(const std::string& path) override {
    std::vector<std::string> names;
    if (!path.empty()) return names;
    for (const auto& [key, entry] : Zones()) names.push_back(entry.name);
    return names;
  }

  std::vector<std::string> ValueNames(const std::string& path) override {
    if (!Find(path)) return {};
    return {"Display", "Dlt", "Std", "TZI"};
  }

  std::optional<RegValue> QueryValue(const std::string& path, const std::string& name) override {
    const ZoneEntry* entry = Find(path);
    if (!entry) return std::nullopt;
    CaseLess less;
    auto is = [&](const char* n) { return !less(name, n) && !less(n, name); };
    if (is("Display")) return entry->display;
    if (is("Std")) return entry->standardName;
    if (is("Dlt")) return entry->daylightName;
    if (is("TZI")) return entry->tzi;
    return std::nullopt;
  }

private:
  using ZoneMap = std::map<std::string, ZoneEntry, CaseLess>;

  const ZoneEntry* Find(const std::string& path) {
    const ZoneMap& zones = Zones();
    const auto it = zones.find(path);
    return it == zones.end() ? nullptr : &it->second;
  }

  const ZoneMap& Zones() {
    std::call_once(m_loaded, [this] { Load(); });
    return m_zones;
  }

  void Load() {
    const std::time_t t = std::time(nullptr);
    const int64_t now = static_cast<int64_t>(t);
    // The year of the user's clock, as the dates asked about are local: in
    // the first or last hours of a year UTC is already in another one.
    std::tm local{};
    localtime_r(&t, &local);
    const int year = local.tm_year + 1900;
    for (const tzdb::WindowsZone& zone : tzdb::ReadWindowsZones(m_windowsZones)) {
      if (!SafeZoneName(zone.iana)) continue;
      const auto file = tzdb::ReadZoneFile(m_zoneInfoDir + zone.iana);
      if (!file) continue;
      ZoneEntry entry;
      entry.name = zone.id;
      entry.display = Text(zone.display.empty() ? zone.id : zone.display);
      entry.standardName = Text(zone.id);
      entry.daylightName = Text(DaylightName(zone.id));
      entry.tzi = Binary(tzdb::EncodeTzi(tzdb::RuleForYear(*file, year, now)));
      m_zones.emplace(zone.id, std::move(entry));
    }
  }

  const std::string m_windowsZones;
  const std::string m_zoneInfoDir;
  std::once_flag m_loaded;
  ZoneMap m_zones;
};

}  // namespace

std::shared_ptr<RegProvider> MakeTimeZoneProvider() {
  return MakeTimeZoneProvider(tzdb::kWindowsZonesPath, kZoneInfoDir);
}

std::shared_ptr<RegProvider> MakeTimeZoneProvider(const std::string& windowsZonesXml,
                                                  const std::string& zoneInfoDir) {
  if (!FileExists(windowsZonesXml)) return nullptr;
  std::string dir = zoneInfoDir;
  if (!dir.empty() && dir.back() != '/') dir += '/';
  return std::make_shared<TimeZoneProvider>(windowsZonesXml, dir);
}
