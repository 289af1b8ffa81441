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
  // The value, or the default when it is missing, of 150 bytes or more, or
  // cannot be read (see GetMachineReadError).
  std::string GetMachineProfileString(const std::string& section, const std::string& entry,
                                      const std::string& defaultValue);
  // Why the last GetMachineProfileString gave the default although a value
  // may be stored: the settings file could not be read just then (naming
  // it). "" when it read the value or there was none to read.
  const std::string& GetMachineReadError() const { return m_machineReadError; }
  // False when the value could not be written (RegLastErrorText says why
  // when the storage refused).
  bool WriteMachineProfileString(const std::string& section, const std::string& entry,
                                 const std::string& value);

private:
  // GetMachineAppKey, with the code of the first step that failed.
  HKEY OpenMachineAppKey(long* rc);

  std::string m_machineReadError;
};

// The current application object as a settings store, or null.
CSettingsApp* GetSettingsApp();
