// One month of per-day entries: a text and a 32-bit value for days 1 to 31.
#pragma once

#include "platform/archive.h"

#include <cstdint>
#include <string>

class CMonth {
public:
  static constexpr int kDays = 31;

  CMonth() = default;
  virtual ~CMonth() = default;

  // Days outside 1..31 are ignored (reads give "" and 0).
  void SetDayText(int day, const std::string& text);
  std::string GetDayText(int day) const;
  void SetDayValue(int day, int32_t value);
  int32_t GetDayValue(int day) const;

  void Clear();
  bool IsModified() const { return m_modified; }

  // Loads or stores the 31 (text, value) pairs, day 1 first, and clears the
  // modified flag. Throws the archive's and the file's errors.
  virtual void Serialize(CArchive& ar);

private:
  static bool InRange(int day) { return day >= 1 && day <= kDays; }

  std::string m_text[kDays];
  int32_t m_value[kDays] = {};
  bool m_modified = false;
};
