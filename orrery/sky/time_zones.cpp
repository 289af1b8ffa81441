#include "orrery/sky/time_zones.h"

#include "orrery/res/resource.h"
#include "orrery/res/strings.h"

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

constexpr std::size_t kZoneNameMax = 31;

// A string value read whole (texts longer than the caller's field are cut
// by the caller), up to its terminating zero.
bool QueryString(HKEY key, const char* name, std::string* text) {
  uint32_t size = 0;
  uint32_t type = 0;
  if (RegQueryValueEx(key, name, &type, nullptr, &size) != ERROR_SUCCESS) return false;
  if (type != REG_SZ) return false;
  std::vector<uint8_t> buffer(size + 1, 0);
  if (RegQueryValueEx(key, name, &type, buffer.data(), &size) != ERROR_SUCCESS) return false;
  const auto* chars = reinterpret_cast<const char*>(buffer.data());
  text->assign(chars, strnlen(chars, size));
  return true;
}

bool QueryRule(HKEY key, REG_TZI_FORMAT* rule) {
  uint8_t buffer[sizeof(REG_TZI_FORMAT)];
  uint32_t size = sizeof buffer;
  uint32_t type = 0;
  if (RegQueryValueEx(key, "TZI", &type, buffer, &size) != ERROR_SUCCESS) return false;
  if (size != sizeof buffer) return false;
  std::memcpy(rule, buffer, sizeof buffer);
  return true;
}

std::string CutName(const std::string& text) {
  char field[kZoneNameMax + 1];
  CopyToField(field, text);
  return field;
}

}  // namespace

HKEY OpenTimeZoneRoot() {
  for (unsigned id : {IDS_TIME_ZONES_KEY, IDS_TIME_ZONES_KEY_NT}) {
    const char* path = OrreryStringTable().Find(id);
    HKEY root = nullptr;
    if (path && RegOpenKeyEx(HKEY_LOCAL_MACHINE, path, KEY_READ, &root) == ERROR_SUCCESS)
      return root;
  }
  return nullptr;
}

bool EnumTimeZone(HKEY root, int index, LocationRecord& record) {
  if (!root || index < 0) return false;
  std::string name;
  if (RegEnumKeyEx(root, static_cast<uint32_t>(index), &name) != ERROR_SUCCESS) return false;
  std::string display;
  HKEY zone = nullptr;
  if (RegOpenKeyEx(root, name, KEY_READ, &zone) == ERROR_SUCCESS) {
    if (!QueryString(zone, "Display", &display)) display.clear();
    RegCloseKey(zone);
  }
  record.SetZoneKey(name);
  // Without a readable "Display" the key names the zone.
  record.SetZoneName(display.empty() ? name : display);
  return true;
}

std::string ReadTimeZone(const std::string& zoneKey, const CDateTime& date, int* bias) {
  *bias = 0;
  HKEY root = OpenTimeZoneRoot();
  if (!root) return {};
  HKEY zone = nullptr;
  const bool opened = !zoneKey.empty() && RegOpenKeyEx(root, zoneKey, KEY_READ, &zone) == ERROR_SUCCESS;
  std::string daylightName, standardName;
  REG_TZI_FORMAT rule;
  bool ok = false;
  if (opened) {
    ok = QueryString(zone, "Dlt", &daylightName);
    if (!QueryString(zone, "Std", &standardName)) standardName = zoneKey;
    ok = QueryRule(zone, &rule) && ok;
    RegCloseKey(zone);
  }
  RegCloseKey(root);
  if (!ok) return {};
  if (IsDaylightTime(rule, date)) {
    *bias = rule.Bias + rule.DaylightBias;
    return CutName(daylightName);
  }
  *bias = rule.Bias + rule.StandardBias;
  return CutName(standardName);
}

CDateTime TransitionDate(const SYSTEMTIME& rule, int year) {
  if (rule.wYear != 0)
    return CDateTime(rule.wYear, rule.wMonth, rule.wDay, rule.wHour, rule.wMinute, rule.wSecond);
  if (rule.wMonth == 0) return CDateTime();
  CDateTime day;
  for (int d = 1; d <= 7; ++d) {
    CDateTime candidate(year, rule.wMonth, d);
    if (!candidate.IsValid()) return CDateTime();
    if (candidate.GetDayOfWeek() - 1 == rule.wDayOfWeek) {
      day = candidate;
      break;
    }
  }
  if (!day.IsValid()) return CDateTime();
  for (int i = 1; i < rule.wDay; ++i) {
    const CDateTime next = day.AddDays(7);
    if (next.GetMonth() != rule.wMonth) break;
    day = next;
  }
  return day + CDateTimeSpan(0, rule.wHour, rule.wMinute, rule.wSecond);
}

bool IsDaylightTime(const REG_TZI_FORMAT& rule, const CDateTime& date) {
  if (!date.IsValid()) return false;
  const CDateTime end = TransitionDate(rule.StandardDate, date.GetYear());
  const CDateTime begin = TransitionDate(rule.DaylightDate, date.GetYear());
  if (!end.IsValid() || !begin.IsValid()) return false;
  if (begin < end) return begin <= date && date < end;
  return date < end || date >= begin;
}

std::string LongitudeZone(float longitude, int* bias) {
  float hours = longitude * 0.06666667f;
  // Stored longitudes are not range-checked; keep the conversion defined.
  if (!(hours > -1000.0f && hours < 1000.0f)) hours = 0.0f;
  const int n = static_cast<int>(hours);  // toward zero
  char name[16];
  std::snprintf(name, sizeof name, "GMT%+d", n);
  *bias = -60 * n;
  return name;
}

std::string ResolveZone(LocationRecord& record, const CDateTime& date) {
  int bias = 0;
  std::string name;
  if (record.zoneKey[0] != '\0') name = ReadTimeZone(record.zoneKey, date, &bias);
  if (name.empty()) name = LongitudeZone(record.longitude, &bias);
  record.bias = bias;
  return name;
}
