#include "platform/tzdb/posix_tz.h"

#include "platform/tzdb/civil.h"

#include <cctype>

namespace tzdb {
namespace {

class Scanner {
public:
  explicit Scanner(const std::string& text) : m_text(text) {}
  bool AtEnd() const { return m_pos == m_text.size(); }
  char Peek() const { return AtEnd() ? '\0' : m_text[m_pos]; }
  bool Take(char c) {
    if (Peek() != c) return false;
    ++m_pos;
    return true;
  }
  bool Number(int maxValue, int* value) {
    if (!std::isdigit(static_cast<unsigned char>(Peek()))) return false;
    int v = 0;
    while (std::isdigit(static_cast<unsigned char>(Peek()))) {
      v = v * 10 + (m_text[m_pos++] - '0');
      if (v > maxValue) return false;
    }
    *value = v;
    return true;
  }
  // A zone abbreviation: letters, or anything but '>' inside angle brackets.
  bool Name() {
    size_t length = 0;
    if (Take('<')) {
      while (!AtEnd() && Peek() != '>') ++m_pos, ++length;
      return Take('>') && length >= 3;
    }
    while (std::isalpha(static_cast<unsigned char>(Peek()))) ++m_pos, ++length;
    return length >= 3;
  }
  // [+-]hh[:mm[:ss]] in seconds; maxHours bounds the hours.
  bool Time(int maxHours, int32_t* seconds) {
    int sign = 1;
    if (Take('-')) sign = -1;
    else Take('+');
    int h = 0, m = 0, s = 0;
    if (!Number(maxHours, &h)) return false;
    if (Take(':') && (!Number(59, &m) || (Take(':') && !Number(59, &s)))) return false;
    *seconds = sign * (h * 3600 + m * 60 + s);
    return true;
  }

private:
  const std::string& m_text;
  size_t m_pos = 0;
};

bool ParseDate(Scanner& s, PosixDate* date) {
  if (s.Take('M')) {
    date->kind = PosixDate::kMonthWeekDay;
    if (!s.Number(12, &date->month) || date->month < 1 || !s.Take('.') ||
        !s.Number(5, &date->week) || date->week < 1 || !s.Take('.') || !s.Number(6, &date->weekday))
      return false;
  } else if (s.Take('J')) {
    date->kind = PosixDate::kJulianNoLeap;
    if (!s.Number(365, &date->julian) || date->julian < 1) return false;
  } else {
    date->kind = PosixDate::kJulianZero;
    if (!s.Number(365, &date->julian)) return false;
  }
  date->time = 7200;
  return !s.Take('/') || s.Time(167, &date->time);
}

}  // namespace

std::optional<PosixRule> ParsePosixRule(const std::string& text) {
  Scanner s(text);
  PosixRule rule;
  int32_t offset = 0;
  // POSIX offsets are west of UTC; the stored ones east.
  if (!s.Name() || !s.Time(24, &offset)) return std::nullopt;
  rule.stdOffset = -offset;
  if (s.AtEnd()) return rule;
  if (!s.Name()) return std::nullopt;
  rule.hasDst = true;
  rule.dstOffset = rule.stdOffset + 3600;
  if (s.Peek() != ',') {
    if (!s.Time(24, &offset)) return std::nullopt;
    rule.dstOffset = -offset;
  }
  // Without dates the rule is the historical US one; zone files always give them.
  if (!s.Take(',') || !ParseDate(s, &rule.start) || !s.Take(',') || !ParseDate(s, &rule.end) ||
      !s.AtEnd())
    return std::nullopt;
  return rule;
}

int64_t PosixDay(const PosixDate& date, int year) {
  const int64_t jan1 = DaysFromCivil(year, 1, 1);
  switch (date.kind) {
    case PosixDate::kJulianNoLeap:
      return jan1 + date.julian - 1 + (IsLeap(year) && date.julian >= 60 ? 1 : 0);
    case PosixDate::kJulianZero:
      return jan1 + date.julian;
    case PosixDate::kMonthWeekDay:
      break;
  }
  const int64_t first = DaysFromCivil(year, date.month, 1);
  int64_t day = first + (date.weekday - WeekdayFromDays(first) + 7) % 7;
  for (int w = 1; w < date.week; ++w) {
    if (day + 7 >= first + MonthLength(year, date.month)) break;
    day += 7;
  }
  return day;
}

int64_t PosixInstant(const PosixDate& date, int year, int32_t offsetBefore) {
  return PosixDay(date, year) * 86400 + date.time - offsetBefore;
}

}  // namespace tzdb
