#include "orrery/sky/location_store.h"

#include "orrery/app/settings_store.h"
#include "platform/registry.h"

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
  // A place whose save failed was reported by that Save; writing it now
  // could land it after its failure was told.
  for (int n = 0; n < kCount; ++n)
    if (m_changed[n] && !m_tried[n]) SaveSlot(n);
}

void CLocationStore::Load() {
  CSettingsApp* app = GetSettingsApp();
  m_loadError.clear();
  // The first storage problem of a read; a missing value is none.
  auto read = [&](const std::string& section, const char* entry, const std::string& fallback) {
    std::string value = app->GetMachineProfileString(section, entry, fallback);
    if (m_loadError.empty()) m_loadError = app->GetMachineReadError();
    return value;
  };
  for (int n = 0; n < kCount; ++n) {
    const std::string section = SectionName(n);
    LocationRecord record;
    const std::string defaultName = n == 0 ? std::string() : section;
    if (app) {
      record.SetName(read(section, "Name", defaultName));
      record.latitude = ScanFloat(read(section, "Latitude", ""), kDefaultLatitude);
      record.longitude = ScanFloat(read(section, "Longitude", ""), kDefaultLongitude);
      record.SetZoneName(read(section, "Time Zone", ""));
      record.SetZoneKey(read(section, "Time Key", ""));
    } else {
      record.SetName(defaultName);
      record.latitude = kDefaultLatitude;
      record.longitude = kDefaultLongitude;
    }
    m_slots[n] = record;
  }
  Discard();
}

bool CLocationStore::SaveSlot(int index) {
  m_tried[index] = true;
  CSettingsApp* app = GetSettingsApp();
  if (!app) {
    if (m_saveError.empty()) m_saveError = "the places cannot be saved without the application's settings";
    return false;
  }
  const std::string section = SectionName(index);
  const LocationRecord& record = m_slots[index];
  CRegTransaction transaction(HKEY_LOCAL_MACHINE);
  bool written = transaction.IsOpen() &&
                 app->WriteMachineProfileString(section, "Name", record.name) &&
                 app->WriteMachineProfileString(section, "Latitude", FormatFloat(record.latitude)) &&
                 app->WriteMachineProfileString(section, "Longitude", FormatFloat(record.longitude)) &&
                 app->WriteMachineProfileString(section, "Time Zone", record.zoneName) &&
                 app->WriteMachineProfileString(section, "Time Key", record.zoneKey);
  if (written) written = transaction.Commit() == ERROR_SUCCESS;
  if (!written) {
    if (m_saveError.empty()) {
      m_saveError = RegLastErrorText();
      if (m_saveError.empty()) m_saveError = "the machine-wide settings refused the place";
    }
    return false;
  }
  m_changed[index] = false;
  return true;
}

bool CLocationStore::Save() {
  m_saveError.clear();
  bool all = true;
  for (int n = 0; n < kCount; ++n)
    if (m_changed[n] && !SaveSlot(n)) all = false;
  return all;
}

void CLocationStore::Discard() {
  for (int n = 0; n < kCount; ++n) m_changed[n] = m_tried[n] = false;
}

bool CLocationStore::IsModified() const {
  for (bool changed : m_changed)
    if (changed) return true;
  return false;
}

bool CLocationStore::IsModified(int index) const {
  return index >= 0 && index < kCount && m_changed[index];
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
  m_changed[index] = true;
  m_tried[index] = false;
  return true;
}

bool CLocationStore::IsHome(const LocationRecord& record) const {
  const LocationRecord& home = m_slots[0];
  return std::strncmp(record.name, home.name, sizeof home.name) == 0 &&
         record.latitude == home.latitude && record.longitude == home.longitude;
}
