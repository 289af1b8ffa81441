#include "orrery/app/settings_store.h"

#include "orrery/res/resource.h"
#include "orrery/res/strings.h"

#include <cstring>

namespace {
constexpr uint32_t kMachineBufferSize = 150;
}

CSettingsApp::CSettingsApp(std::string profileName)
    : CWinApp(std::move(profileName), &OrreryStringTable()) {
  SetRegistryKey(IDS_REGISTRY_KEY);
}

CSettingsApp* GetSettingsApp() { return dynamic_cast<CSettingsApp*>(AfxGetApp()); }

HKEY CSettingsApp::GetMachineAppKey() {
  long rc = ERROR_SUCCESS;
  return OpenMachineAppKey(&rc);
}

HKEY CSettingsApp::OpenMachineAppKey(long* rc) {
  HKEY software = nullptr;
  *rc = RegOpenKeyEx(HKEY_LOCAL_MACHINE, "Software", KEY_READ | KEY_WRITE, &software);
  if (*rc != ERROR_SUCCESS) return nullptr;
  HKEY company = nullptr;
  HKEY app = nullptr;
  *rc = RegCreateKeyEx(software, GetRegistryKey(), KEY_READ | KEY_WRITE, &company);
  if (*rc == ERROR_SUCCESS) {
    *rc = RegCreateKeyEx(company, GetProfileName(), KEY_READ | KEY_WRITE, &app);
    RegCloseKey(company);
  }
  RegCloseKey(software);
  return app;
}

std::string CSettingsApp::GetMachineProfileString(const std::string& section,
                                                  const std::string& entry,
                                                  const std::string& defaultValue) {
  m_machineReadError.clear();
  // Only a read that failed hides a stored value; a key that is missing (or
  // cannot be made in a hive that only reads) holds none.
  auto note = [&](long rc) {
    if (rc == ERROR_CANTREAD) m_machineReadError = RegLastErrorText();
  };
  long rc = ERROR_SUCCESS;
  HKEY app = OpenMachineAppKey(&rc);
  note(rc);
  if (!app) return defaultValue;
  std::string result = defaultValue;
  HKEY key = nullptr;
  rc = RegOpenKeyEx(app, section, KEY_READ, &key);
  note(rc);
  if (rc == ERROR_SUCCESS) {
    uint8_t buffer[kMachineBufferSize];
    uint32_t size = sizeof buffer;
    uint32_t type = 0;
    rc = RegQueryValueEx(key, entry, &type, buffer, &size);
    note(rc);
    if (rc == ERROR_SUCCESS) {
      const auto* text = reinterpret_cast<const char*>(buffer);
      result.assign(text, strnlen(text, size));
    }
    RegCloseKey(key);
  }
  RegCloseKey(app);
  return result;
}

bool CSettingsApp::WriteMachineProfileString(const std::string& section, const std::string& entry,
                                             const std::string& value) {
  HKEY app = GetMachineAppKey();
  if (!app) return false;
  bool written = false;
  HKEY key = nullptr;
  if (RegCreateKeyEx(app, section, KEY_READ | KEY_WRITE, &key) == ERROR_SUCCESS) {
    const std::string stored(value.c_str());
    written = RegSetValueEx(key, entry, REG_SZ, reinterpret_cast<const uint8_t*>(stored.c_str()),
                            static_cast<uint32_t>(stored.size() + 1)) == ERROR_SUCCESS;
    RegCloseKey(key);
  }
  RegCloseKey(app);
  return written;
}
