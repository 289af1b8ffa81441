// Orrery's settings: the per-user profile of the application object and the
// machine-wide profile under HKEY_LOCAL_MACHINE\Software\<key>\<program>.
#pragma once

#include "platform/winapp.h"

#include <string>

class CSettingsApp : public CWinApp {
public:
  // Sets the registry key "Vantrel Software\Lumen Almanac" (string 105).
  explicit CSettingsApp(std::string profileName = {});

  // The machine-wide application key opened with read and write access, or
  // null when it cannot be (no rights). The caller closes it.
  HKEY GetMachineAppKey();
  // The value, or the default when it is missing or of 150 bytes or more.
  std::string GetMachineProfileString(const std::string& section, const std::string& entry,
                                      const std::string& defaultValue);
  bool WriteMachineProfileString(const std::string& section, const std::string& entry,
                                 const std::string& value);
};

// The current application object as a settings store, or null.
CSettingsApp* GetSettingsApp();
