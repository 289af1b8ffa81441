#include "common/gennote.h"

#include "common/archive_string.h"

#include <cstring>

namespace {
// Control characters that never occur in the texts, so no text byte
// scrambles to zero.
constexpr uint8_t kScrambleKey[5] = {0x1B, 0x7F, 0x0F, 0x1E, 0x05};
constexpr int kFullCycle = 366;
}  // namespace

CGenNote::CGenNote() { SetDate(CDateTime::GetCurrentTime()); }

std::string CGenNote::Scramble(const std::string& text) {
  std::string out(text.c_str());  // up to the first zero byte
  for (size_t i = 0; i < out.size(); ++i)
    out[i] = static_cast<char>(static_cast<uint8_t>(out[i]) ^ kScrambleKey[i % 5]);
  return std::string(out.c_str());
}

void CGenNote::Clear() {
  m_title.clear();
  m_subtitle.clear();
  m_default.clear();
  for (CMonth& month : m_months) month.Clear();
}

bool CGenNote::SetDate(const CDateTime& date) {
  if (!date.IsValid()) return false;
  m_monthIndex = date.GetMonth() - 1;
  m_day = date.GetDay();
  m_year = date.GetYear();
  return true;
}

void CGenNote::Serialize(CArchive& ar) {
  if (ar.IsStoring()) {
    WriteArchiveString(ar, kMagic);
    ar << m_cycle;
    WriteArchiveString(ar, Scramble(m_title));
    WriteArchiveString(ar, Scramble(m_subtitle));
    WriteArchiveString(ar, Scramble(m_default));
  } else {
    if (ReadArchiveString(ar) != kMagic)
      throw CArchiveException(CArchiveException::badSchema,
                              ar.GetFile() ? ar.GetFile()->GetFilePath() : "");
    ar >> m_cycle;
    m_title = Scramble(ReadArchiveString(ar));
    m_subtitle = Scramble(ReadArchiveString(ar));
    m_default = ReadArchiveString(ar);
  }
  for (CMonth& month : m_months) month.Serialize(ar);
}

std::string CGenNote::GetDailyQuote() const {
  // A cycle length that no generator writes (0 or below) reads every date's
  // own slot, as the longest cycle does.
  const int cycle = m_cycle > 0 ? m_cycle : kFullCycle;
  const CDateTime date(m_year, m_monthIndex + 1, m_day);
  if (!date.IsValid()) return Scramble(m_default);
  const int k = (date.GetDayOfYear() - 1) % cycle;
  const CDateTime slot = CDateTime(m_year, 1, 1).AddDays(k);
  std::string text = m_months[slot.GetMonth() - 1].GetDayText(slot.GetDay());
  if (text.empty()) text = m_default;
  return Scramble(text);
}
