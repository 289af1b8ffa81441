#include "platform/datetime.h"

#include <chrono>
#include <cmath>
#include <ctime>
#include <locale.h>

namespace {

using namespace std::chrono;

constexpr long long kSecondsPerDay = 86400;
const sys_days kEpoch = sys_days(year(1899) / December / 30);

long long DaysFromCivil(int y, int m, int d) {
  return (sys_days(year(y) / month(static_cast<unsigned>(m)) / day(static_cast<unsigned>(d))) -
          kEpoch)
      .count();
}

year_month_day CivilFromDays(long long days) {
  return year_month_day(kEpoch + std::chrono::days(days));
}

// Earliest and latest seconds of the years 100 and 9999.
const long long kMinSeconds = DaysFromCivil(100, 1, 1) * kSecondsPerDay;
const long long kMaxSeconds = (DaysFromCivil(9999, 12, 31) + 1) * kSecondsPerDay - 1;

locale_t CLocale() {
  static locale_t loc = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
  return loc;
}

}  // namespace

bool IsLeapYear(int y) { return year(y).is_leap(); }

int DaysInMonth(int y, int m) {
  if (m < 1 || m > 12) return 0;
  return static_cast<int>(
      unsigned(year_month_day_last(year(y), month_day_last(month(static_cast<unsigned>(m)))).day()));
}

CDateTime::CDateTime(int y, int mo, int d, int h, int mi, int s) { SetDateTime(y, mo, d, h, mi, s); }

bool CDateTime::SetDateTime(int y, int mo, int d, int h, int mi, int s) {
  const bool ok = y >= 100 && y <= 9999 && mo >= 1 && mo <= 12 && d >= 1 &&
                  d <= DaysInMonth(y, mo) && h >= 0 && h <= 23 && mi >= 0 && mi <= 59 &&
                  s >= 0 && s <= 59;
  if (!ok) {
    m_seconds = 0;
    m_status = invalid;
    return false;
  }
  m_seconds = DaysFromCivil(y, mo, d) * kSecondsPerDay + h * 3600LL + mi * 60LL + s;
  m_status = valid;
  return true;
}

void CDateTime::SetSeconds(long long seconds) {
  if (seconds < kMinSeconds || seconds > kMaxSeconds) {
    m_seconds = 0;
    m_status = invalid;
  } else {
    m_seconds = seconds;
    m_status = valid;
  }
}

namespace {
CDateTime g_fixedTime;  // invalid: the clock
}  // namespace

void CDateTime::FixCurrentTime(const CDateTime& moment) { g_fixedTime = moment; }

CDateTime CDateTime::GetCurrentTime() {
  if (g_fixedTime.IsValid()) return g_fixedTime;
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return CDateTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                   local.tm_min, local.tm_sec);
}

CDateTime CDateTime::GetCurrentUtcTime() {
  std::time_t now = std::time(nullptr);
  if (g_fixedTime.IsValid()) {
    std::tm local{};
    local.tm_year = g_fixedTime.GetYear() - 1900;
    local.tm_mon = g_fixedTime.GetMonth() - 1;
    local.tm_mday = g_fixedTime.GetDay();
    local.tm_hour = g_fixedTime.GetHour();
    local.tm_min = g_fixedTime.GetMinute();
    local.tm_sec = g_fixedTime.GetSecond();
    local.tm_isdst = -1;
    now = std::mktime(&local);
  }
  std::tm utc{};
  if (now == static_cast<std::time_t>(-1) || !gmtime_r(&now, &utc)) return CDateTime();
  return CDateTime(utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min,
                   utc.tm_sec);
}

CDateTime CDateTime::FromDays(double days) {
  CDateTime t;
  if (!std::isfinite(days) || std::fabs(days) > 4e6) return t;
  t.SetSeconds(std::llround(days * kSecondsPerDay));
  return t;
}

int CDateTime::GetYear() const {
  return IsValid() ? static_cast<int>(CivilFromDays(GetDayNumber()).year()) : -1;
}
int CDateTime::GetMonth() const {
  return IsValid() ? static_cast<int>(unsigned(CivilFromDays(GetDayNumber()).month())) : -1;
}
int CDateTime::GetDay() const {
  return IsValid() ? static_cast<int>(unsigned(CivilFromDays(GetDayNumber()).day())) : -1;
}
int CDateTime::GetHour() const {
  return IsValid() ? static_cast<int>((m_seconds - GetDayNumber() * kSecondsPerDay) / 3600) : -1;
}
int CDateTime::GetMinute() const {
  return IsValid() ? static_cast<int>((m_seconds - GetDayNumber() * kSecondsPerDay) / 60 % 60) : -1;
}
int CDateTime::GetSecond() const {
  return IsValid() ? static_cast<int>((m_seconds - GetDayNumber() * kSecondsPerDay) % 60) : -1;
}

int CDateTime::GetDayOfWeek() const {
  if (!IsValid()) return -1;
  const weekday wd(kEpoch + std::chrono::days(GetDayNumber()));
  return static_cast<int>(wd.c_encoding()) + 1;
}

int CDateTime::GetDayOfYear() const {
  if (!IsValid()) return -1;
  return static_cast<int>(GetDayNumber() - DaysFromCivil(GetYear(), 1, 1)) + 1;
}

CDateTime CDateTime::GetDate() const {
  CDateTime t;
  if (IsValid()) t.SetSeconds(GetDayNumber() * kSecondsPerDay);
  return t;
}

std::string CDateTime::Format(const char* format) const {
  if (!IsValid() || !format || !*format) return {};
  std::tm tm{};
  tm.tm_year = GetYear() - 1900;
  tm.tm_mon = GetMonth() - 1;
  tm.tm_mday = GetDay();
  tm.tm_hour = GetHour();
  tm.tm_min = GetMinute();
  tm.tm_sec = GetSecond();
  tm.tm_wday = GetDayOfWeek() - 1;
  tm.tm_yday = GetDayOfYear() - 1;
  tm.tm_isdst = -1;
  std::string out(256, '\0');
  for (int tries = 0; tries < 8; ++tries) {
    const size_t n = strftime_l(out.data(), out.size(), format, &tm, CLocale());
    if (n > 0 || out.size() > 4096) {
      out.resize(n);
      return out;
    }
    out.resize(out.size() * 2);
  }
  return {};
}

CDateTime CDateTime::operator+(const CDateTimeSpan& span) const {
  CDateTime t;
  if (IsValid()) t.SetSeconds(m_seconds + span.GetTotalSeconds());
  return t;
}
