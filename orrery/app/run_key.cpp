#include "orrery/app/run_key.h"

#include "orrery/res/resource.h"
#include "platform/paths.h"
#include "platform/registry.h"
#include "platform/strings.h"
#include "platform/winapp.h"

#include <cstring>

namespace {

constexpr uint32_t kBufferSize = 150;

std::string ApplicationName() {
  CWinApp* app = AfxGetApp();
  return app ? app->GetProfileName() : PathFileTitle(GetModuleFileName());
}

}  // namespace

CRunKey::CRunKey() : m_valueName(ApplicationName()), m_key(LoadString(IDS_RUN_KEY)) {
  if (m_key.empty()) m_key = "Software\\Microsoft\\Windows\\CurrentVersion\\run";
  m_state = ReadState();
}

int CRunKey::ReadState() {
  HKEY key = nullptr;
  if (RegOpenKeyEx(HKEY_CURRENT_USER, m_key, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return 0;
  uint8_t buffer[kBufferSize];
  uint32_t size = sizeof buffer;
  uint32_t type = 0;
  const long rc = RegQueryValueEx(key, m_valueName, &type, buffer, &size);
  RegCloseKey(key);
  if (rc != ERROR_SUCCESS || size == 0) return 0;
  const size_t length = strnlen(reinterpret_cast<const char*>(buffer), size);
  if (length == 0) return 2;
  const char last = static_cast<char>(buffer[length - 1]);
  return last >= '0' && last <= '9' ? 1 : 2;
}

std::string CRunKey::StartCommand() const {
  return PathDirectory(GetModuleFileName()) + m_valueName + kExeSuffix;
}

bool CRunKey::WriteEntry(const std::string& text, int state) {
  HKEY key = nullptr;
  if (RegOpenKeyEx(HKEY_CURRENT_USER, m_key, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return false;
  const bool ok = RegSetValueEx(key, m_valueName, REG_SZ,
                                reinterpret_cast<const uint8_t*>(text.c_str()),
                                static_cast<uint32_t>(text.size() + 1)) == ERROR_SUCCESS;
  RegCloseKey(key);
  if (ok) m_state = state;
  return ok;
}

bool CRunKey::DeleteEntry() {
  HKEY key = nullptr;
  if (RegOpenKeyEx(HKEY_CURRENT_USER, m_key, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return false;
  const bool ok = RegDeleteValue(key, m_valueName) == ERROR_SUCCESS;
  RegCloseKey(key);
  if (ok) m_state = 0;
  return ok;
}

bool CRunKey::Apply(int mode) {
  switch (mode) {
    case 0: return m_state == 0 || DeleteEntry();
    case 1:
      return m_state == 1 ||
             WriteEntry(StartCommand() + " " +
                            std::to_string(CDateTime::GetCurrentTime().GetDayOfYear()), 1);
    case 2: return m_state == 2 || WriteEntry(StartCommand(), 2);
    default: return false;
  }
}

void CRunKey::RefreshDay() { RefreshDay(CDateTime::GetCurrentTime()); }

void CRunKey::RefreshDay(const CDateTime& today) {
  if (m_state == 1 && today.IsValid())
    WriteEntry(StartCommand() + " " + std::to_string(today.GetDayOfYear()), 1);
}
