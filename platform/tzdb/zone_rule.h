// A zone's rule in the Windows "TZI" form (REG_TZI_FORMAT, 44 bytes), made
// from the system's zone file for one year.
#pragma once

#include "platform/tzdb/tzif.h"

#include <cstdint>
#include <string>

namespace tzdb {

struct SystemTime {
  uint16_t year = 0, month = 0, dayOfWeek = 0, day = 0;
  uint16_t hour = 0, minute = 0, second = 0, milliseconds = 0;
};

struct TziRule {
  int32_t bias = 0;  // minutes, UTC = local + bias
  int32_t standardBias = 0;
  int32_t daylightBias = 0;
  SystemTime standardDate;  // daylight time ends (local daylight time); month 0: never
  SystemTime daylightDate;  // daylight time begins (local standard time)
};

enum class RuleKind {
  kFixed,     // no change of offset in the year
  kYearly,    // the zone's yearly rule, right for every year it stays in force
  kThisYear,  // the year's two changes, written as a yearly rule
  // The year does not follow one yearly rule:
  kOuterChanges,  // changes between two offsets: the first and the last (the others are lost)
  kOneChange,     // one lasting change: exact for the year
  kInForce,       // anything else: the offset in force at `now`
};

// The rule for year; now (UTC seconds) picks the offset for kInForce.
TziRule RuleForYear(const ZoneFile& zone, int year, int64_t now, RuleKind* kind = nullptr);

// The 44 little-endian bytes of the registry value.
std::string EncodeTzi(const TziRule& rule);

}  // namespace tzdb
