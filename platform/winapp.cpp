#include "platform/winapp.h"

#include "platform/paths.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {
CWinApp* g_app = nullptr;
}

CWinApp* AfxGetApp() { return g_app; }

CWinApp::CWinApp(std::string profileName, const CStringTable* strings)
    : m_profileName(std::move(profileName)), m_strings(strings), m_previous(g_app) {
  if (m_profileName.empty()) m_profileName = PathFileTitle(GetModuleFileName());
  g_app = this;
}

CWinApp::~CWinApp() {
  if (g_app == this) g_app = m_previous;
}

HKEY CWinApp::GetAppRegistryKey() {
  if (m_registryKey.empty() || m_profileName.empty()) return nullptr;
  HKEY software = nullptr;
  if (RegOpenKeyEx(HKEY_CURRENT_USER, "Software", KEY_WRITE | KEY_READ, &software) != ERROR_SUCCESS &&
      RegCreateKeyEx(HKEY_CURRENT_USER, "Software", KEY_WRITE | KEY_READ, &software) != ERROR_SUCCESS)
    return nullptr;
  HKEY company = nullptr;
  HKEY app = nullptr;
  if (RegCreateKeyEx(software, m_registryKey, KEY_WRITE | KEY_READ, &company) == ERROR_SUCCESS) {
    RegCreateKeyEx(company, m_profileName, KEY_WRITE | KEY_READ, &app);
    RegCloseKey(company);
  }
  RegCloseKey(software);
  return app;
}

HKEY CWinApp::GetSectionKey(const std::string& section) {
  HKEY app = GetAppRegistryKey();
  if (!app) return nullptr;
  HKEY key = nullptr;
  RegCreateKeyEx(app, section, KEY_WRITE | KEY_READ, &key);
  RegCloseKey(app);
  return key;
}

int CWinApp::GetProfileInt(const std::string& section, const std::string& entry, int defaultValue) {
  HKEY key = GetSectionKey(section);
  if (!key) return defaultValue;
  uint32_t type = 0;
  uint8_t data[4];
  uint32_t size = sizeof data;
  const long rc = RegQueryValueEx(key, entry, &type, data, &size);
  RegCloseKey(key);
  if (rc != ERROR_SUCCESS || type != REG_DWORD || size != 4) return defaultValue;
  uint32_t value;
  std::memcpy(&value, data, 4);
  return static_cast<int>(value);
}

bool CWinApp::WriteProfileInt(const std::string& section, const std::string& entry, int value) {
  HKEY key = GetSectionKey(section);
  if (!key) return false;
  const auto v = static_cast<uint32_t>(value);
  uint8_t data[4];
  std::memcpy(data, &v, 4);
  const long rc = RegSetValueEx(key, entry, REG_DWORD, data, 4);
  RegCloseKey(key);
  return rc == ERROR_SUCCESS;
}

std::string CWinApp::GetProfileString(const std::string& section, const std::string& entry,
                                      const std::string& defaultValue) {
  HKEY key = GetSectionKey(section);
  if (!key) return defaultValue;
  uint32_t type = 0;
  uint32_t size = 0;
  std::string result = defaultValue;
  if (RegQueryValueEx(key, entry, &type, nullptr, &size) == ERROR_SUCCESS && type == REG_SZ) {
    // Empty data (a text value without even its zero) reads as "".
    std::vector<uint8_t> data(size);
    if (size == 0) {
      result.clear();
    } else if (RegQueryValueEx(key, entry, &type, data.data(), &size) == ERROR_SUCCESS) {
      const auto* begin = reinterpret_cast<const char*>(data.data());
      result.assign(begin, strnlen(begin, std::min<size_t>(size, data.size())));
    }
  }
  RegCloseKey(key);
  return result;
}

bool CWinApp::WriteProfileString(const std::string& section, const std::string& entry,
                                 const std::string& value) {
  HKEY key = GetSectionKey(section);
  if (!key) return false;
  const std::string stored = value.substr(0, strnlen(value.c_str(), value.size()));
  const long rc = RegSetValueEx(key, entry, REG_SZ, reinterpret_cast<const uint8_t*>(stored.c_str()),
                                static_cast<uint32_t>(stored.size() + 1));
  RegCloseKey(key);
  return rc == ERROR_SUCCESS;
}
