#include "common/month.h"

#include "common/archive_string.h"

void CMonth::SetDayText(int day, const std::string& text) {
  if (!InRange(day)) return;
  if (m_text[day - 1] != text) m_modified = true;
  m_text[day - 1] = text;
}

std::string CMonth::GetDayText(int day) const { return InRange(day) ? m_text[day - 1] : std::string(); }

void CMonth::SetDayValue(int day, int32_t value) {
  if (!InRange(day)) return;
  if (m_value[day - 1] != value) m_modified = true;
  m_value[day - 1] = value;
}

int32_t CMonth::GetDayValue(int day) const { return InRange(day) ? m_value[day - 1] : 0; }

void CMonth::Clear() {
  for (int i = 0; i < kDays; ++i) {
    m_text[i].clear();
    m_value[i] = 0;
  }
  m_modified = false;
}

void CMonth::Serialize(CArchive& ar) {
  for (int i = 0; i < kDays; ++i) {
    if (ar.IsStoring()) {
      WriteArchiveString(ar, m_text[i]);
      ar << m_value[i];
    } else {
      m_text[i] = ReadArchiveString(ar);
      ar >> m_value[i];
    }
  }
  m_modified = false;
}
