#include "orrery/sky/location_store.h"

#include "orrery/app/settings_store.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <locale.h>

namespace {

constexpr float kDefaultLatitude = 40.0f;
constexpr float kDefaultLongitude = 100.0f;

// The C locale, so that stored numbers read the same whatever the user's
// locale says about the decimal point.
locale_t CLocale() {
  static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
  return c;
}

// The "%f" scan: leading blanks skipped, the longest numeric prefix taken.
// No number, or one that is not finite, gives the default.
float ScanFloat(const std::string& text, float fallback) {
  const locale_t previous = uselocale(CLocale());
  float value = 0.0f;
  const bool scanned = std::sscanf(text.c_str(), "%f", &value) == 1;
  uselocale(previous);
  return scanned && std::isfinite(value) ? value : fallback;
}

std::string FormatFloat(float value) {
  const locale_t previous = uselocale(CLocale());
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%f", static_cast<double>(value));
  uselocale(previous);
  return buffer;
}

std::string SectionName(int slot) { return "Location" + std::to_string(slot); }

}  // namespace

void CopyToField(char* field, std::size_t size, const std::string& text) {
  std::size_t length = std::min(text.size(), size - 1);
  // Do not leave the first bytes of a UTF-8 character that the cut splits.
  auto continuation = [&](std::size_t i) { return (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80; };
  if (length < text.size() && continuation(length)) {
    std::size_t start = length;
    while (start > 0 && length - start < 3 && continuation(start - 1)) --start;
    if (start > 0 && static_cast<unsigned char>(text[start - 1]) >= 0xC0) length = start - 1;
  }
  std::memcpy(field, text.data(), length);
  std::memset(field + length, 0, size - length);
}

void LocationRecord::SetName(const std::string& text) { CopyToField(name, text); }
void LocationRecord::SetZoneName(const std::string& text) { CopyToField(zoneName, text); }
void LocationRecord::SetZoneKey(const std::string& text) { CopyToField(zoneKey, text); }

CLocationStore::CLocationStore() { Load(); }

CLocationStore::~CLocationStore() {
  if (m_modified) Save();
}

void CLocationStore::Load() {
  CSettingsApp* app = GetSettingsApp();
  for (int n = 0; n < kCount; ++n) {
    const std::string section = SectionName(n);
    LocationRecord record;
    const std::string defaultName = n == 0 ? std::string() : section;
    if (app) {
      record.SetName(app->GetMachineProfileString(section, "Name", defaultName));
      record.latitude = ScanFloat(app->GetMachineProfileString(section, "Latitude", ""),
                                  kDefaultLatitude);
      record.longitude = ScanFloat(app->GetMachineProfileString(section, "Longitude", ""),
                                   kDefaultLongitude);
      record.SetZoneName(app->GetMachineProfileString(section, "Time Zone", ""));
      record.SetZoneKey(app->GetMachineProfileString(section, "Time Key", ""));
    } else {
      record.SetName(defaultName);
      record.latitude = kDefaultLatitude;
      record.longitude = kDefaultLongitude;
    }
    m_slots[n] = record;
  }
  m_modified = false;
}

void CLocationStore::Save() {
  if (CSettingsApp* app = GetSettingsApp()) {
    for (int n = 0; n < kCount; ++n) {
      const std::string section = SectionName(n);
      const LocationRecord& record = m_slots[n];
      app->WriteMachineProfileString(section, "Name", record.name);
      app->WriteMachineProfileString(section, "Latitude", FormatFloat(record.latitude));
      app->WriteMachineProfileString(section, "Longitude", FormatFloat(record.longitude));
      app->WriteMachineProfileString(section, "Time Zone", record.zoneName);
      app->WriteMachineProfileString(section, "Time Key", record.zoneKey);
    }
  }
  m_modified = false;
}

LocationRecord* CLocationStore::GetLocation(int index) {
  return index >= 1 && index < kCount ? &m_slots[index] : nullptr;
}

bool CLocationStore::SetLocation(int index, const LocationRecord& record) {
  if (index < 0 || index >= kCount) return false;
  m_slots[index] = record;
  // The fields are NUL-terminated whatever the caller put in them.
  m_slots[index].name[sizeof record.name - 1] = '\0';
  m_slots[index].zoneName[sizeof record.zoneName - 1] = '\0';
  m_slots[index].zoneKey[sizeof record.zoneKey - 1] = '\0';
  m_modified = true;
  return true;
}

bool CLocationStore::IsHome(const LocationRecord& record) const {
  const LocationRecord& home = m_slots[0];
  return std::strncmp(record.name, home.name, sizeof home.name) == 0 &&
         record.latitude == home.latitude && record.longitude == home.longitude;
}
