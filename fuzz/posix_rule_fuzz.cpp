// POSIX TZ rules: any text parses or is refused; a parsed rule gives a day
// inside the year and an instant for any year. The first two bytes choose
// the year.
#include "fuzz/fuzz_check.h"
#include "fuzz/scratch.h"
#include "platform/tzdb/civil.h"
#include "platform/tzdb/posix_tz.h"

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  InputCursor in(data, size);
  const int year = std::max(1, static_cast<int>(in.Take(2) % 10000));
  const std::string text(reinterpret_cast<const char*>(in.Rest()), in.RestSize());
  const auto rule = tzdb::ParsePosixRule(text);
  if (!rule || !rule->hasDst) return 0;
  const int64_t first = tzdb::DaysFromCivil(year, 1, 1);
  const int64_t last = tzdb::DaysFromCivil(year, 12, 31);
  for (const tzdb::PosixDate* date : {&rule->start, &rule->end}) {
    const int64_t day = tzdb::PosixDay(*date, year);
    // The zero-based day 365 of a common year is the first of the next.
    FUZZ_CHECK(day >= first && day <= last + (date->kind == tzdb::PosixDate::kJulianZero));
    (void)tzdb::PosixInstant(*date, year, rule->stdOffset);
    (void)tzdb::PosixInstant(*date, year, rule->dstOffset);
  }
  return 0;
}
