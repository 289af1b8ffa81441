// A local date and time with a validity status, counted as the framework's
// date type counts it: days since 30 December 1899 00:00, to the second.
#pragma once

#include <cstdint>
#include <string>

// A length of time in whole seconds.
class CDateTimeSpan {
public:
  CDateTimeSpan() = default;
  CDateTimeSpan(long long days, int hours, int minutes, int seconds)
      : m_seconds(((days * 24 + hours) * 60 + minutes) * 60LL + seconds) {}
  static CDateTimeSpan FromSeconds(long long seconds) {
    CDateTimeSpan s;
    s.m_seconds = seconds;
    return s;
  }
  long long GetTotalSeconds() const { return m_seconds; }
  CDateTimeSpan operator-() const { return FromSeconds(-m_seconds); }

private:
  long long m_seconds = 0;
};

class CDateTime {
public:
  enum Status { valid, invalid };

  // An invalid value.
  CDateTime() = default;
  // Validated: years 100 to 9999, real dates, 0-23:0-59:0-59. Invalid otherwise.
  CDateTime(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);

  // The current local date and time, or the moment given to FixCurrentTime.
  static CDateTime GetCurrentTime();
  // The same moment in Coordinated Universal Time (through the system's
  // time zone when the moment is fixed).
  static CDateTime GetCurrentUtcTime();
  // Makes GetCurrentTime answer moment from now on, so that a program can
  // work as at another moment; an invalid value brings back the clock.
  static void FixCurrentTime(const CDateTime& moment);
  // A value from days since 30 December 1899 (fractions are the time of day).
  static CDateTime FromDays(double days);

  // Sets the value and returns true, or makes it invalid and returns false.
  bool SetDateTime(int year, int month, int day, int hour, int minute, int second);
  bool SetDate(int year, int month, int day) { return SetDateTime(year, month, day, 0, 0, 0); }

  Status GetStatus() const { return m_status; }
  bool IsValid() const { return m_status == valid; }

  // Fields of a valid value; -1 for an invalid one.
  int GetYear() const;
  int GetMonth() const;      // 1..12
  int GetDay() const;        // 1..31
  int GetHour() const;       // 0..23
  int GetMinute() const;
  int GetSecond() const;
  int GetDayOfWeek() const;  // 1 = Sunday .. 7 = Saturday, as the framework counts
  int GetDayOfYear() const;  // 1 = 1 January

  // Whole days since 30 December 1899 (the date part), and the time of day
  // as a fraction of a day added to it.
  long long GetDayNumber() const { return FloorDiv(m_seconds, 86400); }
  double GetDays() const { return static_cast<double>(m_seconds) / 86400.0; }
  // Midnight of the same date.
  CDateTime GetDate() const;

  // strftime conversions in the "C" locale. Empty for an invalid value.
  std::string Format(const char* format) const;

  // Adding to an invalid value leaves it invalid; leaving the range of years
  // makes the result invalid.
  CDateTime operator+(const CDateTimeSpan& span) const;
  CDateTime operator-(const CDateTimeSpan& span) const { return *this + (-span); }
  CDateTime& operator+=(const CDateTimeSpan& span) { return *this = *this + span; }
  CDateTime& operator-=(const CDateTimeSpan& span) { return *this = *this - span; }
  CDateTime AddDays(long long days) const { return *this + CDateTimeSpan(days, 0, 0, 0); }
  // Difference of two valid values.
  CDateTimeSpan operator-(const CDateTime& other) const {
    return CDateTimeSpan::FromSeconds(m_seconds - other.m_seconds);
  }

  // An invalid value is neither earlier, later nor equal.
  bool operator==(const CDateTime& o) const { return BothValid(o) && m_seconds == o.m_seconds; }
  bool operator!=(const CDateTime& o) const { return BothValid(o) && m_seconds != o.m_seconds; }
  bool operator<(const CDateTime& o) const { return BothValid(o) && m_seconds < o.m_seconds; }
  bool operator<=(const CDateTime& o) const { return BothValid(o) && m_seconds <= o.m_seconds; }
  bool operator>(const CDateTime& o) const { return BothValid(o) && m_seconds > o.m_seconds; }
  bool operator>=(const CDateTime& o) const { return BothValid(o) && m_seconds >= o.m_seconds; }

private:
  static long long FloorDiv(long long a, long long b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }
  bool BothValid(const CDateTime& o) const { return IsValid() && o.IsValid(); }
  void SetSeconds(long long seconds);

  long long m_seconds = 0;  // since 30 December 1899 00:00
  Status m_status = invalid;
};

// Whether year is a leap year of the Gregorian calendar.
bool IsLeapYear(int year);
// Days in month (1..12) of year; 0 for a month out of range.
int DaysInMonth(int year, int month);
