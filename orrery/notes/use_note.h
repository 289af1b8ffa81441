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
  CUseNote(const CUseNote&) = default;
  CUseNote& operator=(const CUseNote&) = default;

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
  void SetMonthRecord(int month, const CMonth& record) { m_months[month] = record; }

  // Empties all twelve months, and what was last read; the result is not
  // modified.
  void ClearAll();
  // Some day differs from what was last read or stored, or a save of them
  // failed since.
  bool IsModified() const;
  // Keeps the notes modified after a save that did not reach the disk.
  void MarkUnsaved() { m_unsaved = true; }

  // This year's own changes: the text or value of day 1..31 of month 0..11
  // differs from what the file held when it was last read or stored.
  bool IsTextChanged(int month, int day) const;
  bool IsValueChanged(int month, int day) const;
  // Puts disk (what the file holds now) under the own changes: every text
  // and value not changed here takes disk's, and disk becomes what was last
  // read. The current month and day stay.
  void MergeUnder(const CUseNote& disk);
  // The months as they are now are what the file holds (after a save).
  void MarkStored();
  // Drops the own changes: back to what was last read or stored.
  void DiscardChanges();
  // Whether any day has a text or a value.
  bool IsEmpty() const;
  // Whether the months hold the same texts and values as other's.
  bool SameDays(const CUseNote& other) const;

  // The twelve months in order, nothing before or after them. Loading makes
  // them what was last read. Throws the archive's and the file's errors.
  virtual void Serialize(CArchive& ar);

private:
  int Day(int day) const { return day == 0 ? m_day : day; }

  CMonth m_months[12];
  CMonth m_stored[12];  // what the file held at the last read or save
  int m_day = 1;
  int m_month = 0;
  bool m_unsaved = false;
};
