// Zone files: any bytes parse or are refused; a parsed zone is consistent
// and gives a registry rule for any year; its footer rule evaluates.
#include "fuzz/fuzz_check.h"
#include "platform/tzdb/posix_tz.h"
#include "platform/tzdb/zone_rule.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const auto zone = tzdb::ParseZoneFile(bytes);
  if (!zone) return 0;
  FUZZ_CHECK(zone->typeIndex.size() == zone->transitions.size());
  for (size_t i = 0; i < zone->typeIndex.size(); ++i)
    FUZZ_CHECK(zone->typeIndex[i] < zone->types.size());
  for (size_t i = 1; i < zone->transitions.size(); ++i)
    FUZZ_CHECK(zone->transitions[i - 1] < zone->transitions[i]);

  const int years[] = {100, 1900, 1970, 2007, 2024, 2038, 2100, 9999};
  const int64_t nows[] = {0, 1700000000, INT64_MIN / 2, INT64_MAX / 2};
  for (int year : years)
    for (int64_t now : nows) {
      tzdb::RuleKind kind;
      const tzdb::TziRule rule = tzdb::RuleForYear(*zone, year, now, &kind);
      FUZZ_CHECK(tzdb::EncodeTzi(rule).size() == 44);
    }
  return 0;
}
