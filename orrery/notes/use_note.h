// One year of notes of one kind: twelve months, January first, and the month
// and day that the operations address.
#pragma once

#include "common/month.h"
#include "platform/archive.h"
#include "platform/datetime.h"

#include <cstdint>
#include <string>

class CUseNote {
public:
  // Points at today's month and day.
  CUseNote();
  virtual ~CUseNote() = default;

  // Sets the current month and day; false (nothing changed) for an invalid date.
  bool SetDate(const CDateTime& date);
  int GetCurrentMonth() const { return m_month; }  // 0..11
  int GetCurrentDay() const { return m_day; }      // 1..31

  // Day 0 is the current day; all address the current month.
  std::string GetDayText(int day = 0) const;
  void SetDayText(const std::string& text, int day = 0);
  int32_t GetDayValue(int day = 0) const;
  void SetDayValue(int32_t value, int day = 0);

  // Month 0..11 of the year.
  const CMonth& GetMonthRecord(int month) const { return m_months[month]; }

  // Empties all twelve months; the result is not modified.
  void ClearAll();
  // Any month changed, or a save of them failed since they were last stored.
  bool IsModified() const;
  // Keeps the notes modified after a save that did not reach the disk.
  void MarkUnsaved() { m_unsaved = true; }

  // The twelve months in order, nothing before or after them. Throws the
  // archive's and the file's errors.
  virtual void Serialize(CArchive& ar);

private:
  int Day(int day) const { return day == 0 ? m_day : day; }

  CMonth m_months[12];
  int m_day = 1;
  int m_month = 0;
  bool m_unsaved = false;
};
