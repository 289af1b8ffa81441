#include "orrery/notes/use_note.h"

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
  for (CMonth& month : m_months) month.Clear();
  m_unsaved = false;
}

bool CUseNote::IsModified() const {
  if (m_unsaved) return true;
  for (const CMonth& month : m_months)
    if (month.IsModified()) return true;
  return false;
}

void CUseNote::Serialize(CArchive& ar) {
  for (CMonth& month : m_months) month.Serialize(ar);
  m_unsaved = false;
}
