// The application object: the program's name, its string table and its
// per-user profile in the registry.
#pragma once

#include "platform/registry.h"
#include "platform/strings.h"

#include <string>

class CWinApp {
public:
  // profileName "" takes the executable's file name without its extension.
  // The newest application object is the current one (AfxGetApp).
  explicit CWinApp(std::string profileName = {}, const CStringTable* strings = nullptr);
  virtual ~CWinApp();
  CWinApp(const CWinApp&) = delete;
  CWinApp& operator=(const CWinApp&) = delete;

  // The profile then lives under HKEY_CURRENT_USER\Software\key\profile.
  void SetRegistryKey(const std::string& key) { m_registryKey = key; }
  void SetRegistryKey(unsigned stringId) { m_registryKey = LoadString(stringId); }
  const std::string& GetRegistryKey() const { return m_registryKey; }
  const std::string& GetProfileName() const { return m_profileName; }
  const CStringTable* GetStringTable() const { return m_strings; }

  // The per-user profile. Opening a section, even to read, creates the
  // application's key and the section key.
  int GetProfileInt(const std::string& section, const std::string& entry, int defaultValue);
  bool WriteProfileInt(const std::string& section, const std::string& entry, int value);
  std::string GetProfileString(const std::string& section, const std::string& entry,
                               const std::string& defaultValue = {});
  bool WriteProfileString(const std::string& section, const std::string& entry,
                          const std::string& value);

  // HKEY_CURRENT_USER\Software\key\profile, created; null without a registry
  // key. The caller closes it.
  HKEY GetAppRegistryKey();
  // The section below it, created; the caller closes it.
  HKEY GetSectionKey(const std::string& section);

private:
  std::string m_profileName;
  std::string m_registryKey;
  const CStringTable* m_strings;
  CWinApp* m_previous;
};

// The current application object, or null.
CWinApp* AfxGetApp();
