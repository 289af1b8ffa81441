#include "orrery/notes/use_note.h"

namespace {

bool SameMonth(const CMonth& a, const CMonth& b) {
  for (int day = 1; day <= CMonth::kDays; ++day)
    if (a.GetDayText(day) != b.GetDayText(day) || a.GetDayValue(day) != b.GetDayValue(day))
      return false;
  return true;
}

}  // namespace

CUseNote::CUseNote() { SetDate(CDateTime::GetCurrentTime()); }

bool CUseNote::SetDate(const CDateTime& date) {
  if (!date.IsValid()) return false;
  m_month = date.GetMonth() - 1;
  m_day = date.GetDay();
  return true;
}

std::string CUseNote::GetDayText(int day) const { return m_months[m_month].GetDayText(Day(day)); }

void CUseNote::SetDayText(const std::string& text, int day) {
  m_months[m_month].SetDayText(Day(day), text);
}

int32_t CUseNote::GetDayValue(int day) const { return m_months[m_month].GetDayValue(Day(day)); }

void CUseNote::SetDayValue(int32_t value, int day) {
  m_months[m_month].SetDayValue(Day(day), value);
}

void CUseNote::ClearAll() {
  for (int m = 0; m < 12; ++m) {
    m_months[m].Clear();
    m_stored[m].Clear();
  }
  m_unsaved = false;
}

bool CUseNote::IsModified() const {
  if (m_unsaved) return true;
  for (int m = 0; m < 12; ++m)
    if (!SameMonth(m_months[m], m_stored[m])) return true;
  return false;
}

bool CUseNote::IsTextChanged(int month, int day) const {
  return m_months[month].GetDayText(day) != m_stored[month].GetDayText(day);
}

bool CUseNote::IsValueChanged(int month, int day) const {
  return m_months[month].GetDayValue(day) != m_stored[month].GetDayValue(day);
}

void CUseNote::MergeUnder(const CUseNote& disk) {
  for (int m = 0; m < 12; ++m) {
    CMonth merged = disk.m_months[m];
    for (int day = 1; day <= CMonth::kDays; ++day) {
      if (IsTextChanged(m, day)) merged.SetDayText(day, m_months[m].GetDayText(day));
      if (IsValueChanged(m, day)) merged.SetDayValue(day, m_months[m].GetDayValue(day));
    }
    m_months[m] = merged;
    m_stored[m] = disk.m_months[m];
  }
}

void CUseNote::MarkStored() {
  for (int m = 0; m < 12; ++m) m_stored[m] = m_months[m];
  m_unsaved = false;
}

void CUseNote::DiscardChanges() {
  for (int m = 0; m < 12; ++m) m_months[m] = m_stored[m];
  m_unsaved = false;
}

bool CUseNote::IsEmpty() const {
  for (const CMonth& month : m_months)
    for (int day = 1; day <= CMonth::kDays; ++day)
      if (!month.GetDayText(day).empty() || month.GetDayValue(day) != 0) return false;
  return true;
}

bool CUseNote::SameDays(const CUseNote& other) const {
  for (int m = 0; m < 12; ++m)
    if (!SameMonth(m_months[m], other.m_months[m])) return false;
  return true;
}

void CUseNote::Serialize(CArchive& ar) {
  for (CMonth& month : m_months) month.Serialize(ar);
  if (ar.IsLoading())
    for (int m = 0; m < 12; ++m) m_stored[m] = m_months[m];
  m_unsaved = false;
}
