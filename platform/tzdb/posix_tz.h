// The POSIX TZ rule string that ends a zone file ("EST5EDT,M3.2.0,M11.1.0"),
// parsed and evaluated for a year.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace tzdb {

// One change of the yearly rule: a date form and the local time of day, in
// the time in force before the change, in seconds (may leave 0..24 h).
struct PosixDate {
  enum Kind { kMonthWeekDay, kJulianNoLeap, kJulianZero } kind = kMonthWeekDay;
  int month = 0;    // Mm.w.d
  int week = 0;     // 1..5, 5 = last
  int weekday = 0;  // 0 = Sunday
  int julian = 0;   // Jn (1..365, 29 February never counted) or n (0..365)
  int32_t time = 7200;
};

struct PosixRule {
  int32_t stdOffset = 0;  // seconds east of UTC
  bool hasDst = false;
  int32_t dstOffset = 0;
  PosixDate start;  // daylight time begins
  PosixDate end;    // daylight time ends
};

// Nothing when the text is not a rule this reader understands.
std::optional<PosixRule> ParsePosixRule(const std::string& text);

// Day number (since 1970-01-01) of the date in year.
int64_t PosixDay(const PosixDate& date, int year);
// The UTC second at which the change happens in year, given the offset in
// force before it.
int64_t PosixInstant(const PosixDate& date, int year, int32_t offsetBefore);

}  // namespace tzdb
