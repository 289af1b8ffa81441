// One quotation file: title, subtitle, default quotation, cycle length and
// twelve months of scrambled day quotations.
#pragma once

#include "common/month.h"
#include "platform/datetime.h"

#include <cstdint>
#include <string>

class CGenNote {
public:
  static constexpr const char* kMagic = "LMAQF10";

  // Empty texts, cycle length 1, current date today.
  CGenNote();
  virtual ~CGenNote() = default;

  // Loads or stores the document. A load whose magic differs throws the
  // bad-schema error before anything changes. Throws the archive's errors.
  virtual void Serialize(CArchive& ar);

  // Empties the texts and the months; keeps the cycle length and the date.
  void Clear();
  // Sets the current date; false (nothing changed) for an invalid date.
  bool SetDate(const CDateTime& date);

  std::string GetTitle() const { return m_title; }
  std::string GetSubtitle() const { return m_subtitle; }
  // The plain quotation for the current date, or "" when there is none.
  std::string GetDailyQuote() const;

  // XOR with the five-byte key, up to the first zero byte. Its own inverse.
  static std::string Scramble(const std::string& text);

  // Filling a new document (the generator). Texts set here are plain; day
  // texts of the months are stored scrambled.
  void SetTitle(const std::string& title) { m_title = title; }
  void SetSubtitle(const std::string& subtitle) { m_subtitle = subtitle; }
  void SetDefaultQuote(const std::string& quote) { m_default = quote; }
  void SetCycleLength(int32_t length) { m_cycle = length; }
  int32_t GetCycleLength() const { return m_cycle; }
  CMonth& GetMonth(int index) { return m_months[index]; }
  const CMonth& GetMonth(int index) const { return m_months[index]; }
  int GetCurrentMonthIndex() const { return m_monthIndex; }  // 0..11
  int GetCurrentDay() const { return m_day; }                // 1..31
  int GetCurrentYear() const { return m_year; }

private:
  std::string m_title;
  std::string m_subtitle;
  std::string m_default;  // scrambled after loading, plain after generation
  CMonth m_months[12];
  int32_t m_cycle = 1;
  int m_monthIndex = 0;
  int m_day = 1;
  int m_year = 2000;
};
