// Orrery's entry under the per-user Run key: none (start mode 0), the start
// command and the day number it was written on (1, daily), or the start
// command alone (2, every time).
#pragma once

#include "platform/datetime.h"

#include <string>

class CRunKey {
public:
  // Reads the state of the entry.
  CRunKey();
  virtual ~CRunKey() = default;

  // The mode the entry has: 0 when missing, unreadable or of 150 bytes or
  // more; 1 when its text ends in a digit; 2 otherwise.
  int ReadState();
  int GetState() const { return m_state; }
  // The executable's directory, the application name and the platform's
  // program suffix, unquoted.
  std::string StartCommand() const;
  // Makes the entry match mode 0, 1 or 2; a daily entry keeps its day number.
  // False when the entry could not be written or deleted.
  bool Apply(int mode);
  // Rewrites a daily entry with the day of the year of today.
  void RefreshDay();
  void RefreshDay(const CDateTime& today);

private:
  bool WriteEntry(const std::string& text, int state);
  bool DeleteEntry();

  int m_state = 0;
  std::string m_valueName;
  std::string m_key;
};
