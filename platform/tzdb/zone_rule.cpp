#include "platform/tzdb/zone_rule.h"

#include "platform/tzdb/civil.h"
#include "platform/tzdb/posix_tz.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace tzdb {
namespace {

struct Change {
  int64_t at;  // UTC seconds
  LocalTimeType before, after;
};

class Zone {
public:
  explicit Zone(const ZoneFile& file) : m_file(file), m_rule(ParsePosixRule(file.footer)) {}

  // The local time type in force at t.
  LocalTimeType At(int64_t t) const {
    const auto& times = m_file.transitions;
    if (times.empty() || t >= times.back()) {
      if (m_rule) return FooterAt(t);
      if (times.empty()) return m_file.types.front();
    }
    const auto it = std::upper_bound(times.begin(), times.end(), t);
    if (it == times.begin()) return m_file.types.front();
    return m_file.types[m_file.typeIndex[it - times.begin() - 1]];
  }

  // The changes of offset whose local time (on the clock in force before
  // them, as the rule states it) lies inside the local interval (from, to).
  // A change at the very first moment of the interval changes nothing in it.
  std::vector<Change> Changes(int64_t from, int64_t to) const {
    constexpr int64_t kMaxOffset = 26 * 3600;
    const int64_t utcFrom = from - kMaxOffset, utcTo = to + kMaxOffset;
    std::vector<int64_t> candidates;
    const auto& times = m_file.transitions;
    for (int64_t t : times)
      if (t >= utcFrom && t < utcTo) candidates.push_back(t);
    if (m_rule && m_rule->hasDst) {
      const int64_t tableEnd = times.empty() ? INT64_MIN : times.back();
      const int first = CivilFromDays(FloorDiv(utcFrom, 86400)).year - 1;
      for (int y = first; y <= first + 2; ++y) {
        for (int64_t t : {PosixInstant(m_rule->start, y, m_rule->stdOffset),
                          PosixInstant(m_rule->end, y, m_rule->dstOffset)})
          if (t > tableEnd && t >= utcFrom && t < utcTo) candidates.push_back(t);
      }
    }
    std::sort(candidates.begin(), candidates.end());
    std::vector<Change> changes;
    for (int64_t t : candidates) {
      const Change c{t, At(t - 1), At(t)};
      const int64_t local = t + c.before.utoff;
      if (c.before.utoff != c.after.utoff && local > from && local < to) changes.push_back(c);
    }
    return changes;
  }

  const std::optional<PosixRule>& Rule() const { return m_rule; }

private:
  LocalTimeType FooterAt(int64_t t) const {
    const PosixRule& r = *m_rule;
    if (!r.hasDst) return {r.stdOffset, false};
    const int year = CivilFromDays(FloorDiv(t + r.stdOffset, 86400)).year;
    const int64_t start = PosixInstant(r.start, year, r.stdOffset);
    const int64_t end = PosixInstant(r.end, year, r.dstOffset);
    const bool dst = start < end ? (t >= start && t < end) : !(t >= end && t < start);
    return dst ? LocalTimeType{r.dstOffset, true} : LocalTimeType{r.stdOffset, false};
  }

  const ZoneFile& m_file;
  std::optional<PosixRule> m_rule;
};

int32_t Minutes(int32_t seconds) { return static_cast<int32_t>(FloorDiv(seconds, 60)); }

// The relative form that names this local moment in its own year: the n-th
// (or last) weekday of the month at the time of day.
SystemTime RelativeRule(int64_t localSeconds) {
  const int64_t days = FloorDiv(localSeconds, 86400);
  const int64_t secs = localSeconds - days * 86400;
  const CivilDate date = CivilFromDays(days);
  SystemTime st;
  st.month = static_cast<uint16_t>(date.month);
  st.dayOfWeek = static_cast<uint16_t>(WeekdayFromDays(days));
  st.day = static_cast<uint16_t>(date.day + 7 > MonthLength(date.year, date.month) ? 5 : (date.day - 1) / 7 + 1);
  st.hour = static_cast<uint16_t>(secs / 3600);
  st.minute = static_cast<uint16_t>(secs / 60 % 60);
  st.second = static_cast<uint16_t>(secs % 60);
  return st;
}

// The footer's date as a relative rule, when it has that form exactly.
std::optional<SystemTime> DirectRule(const PosixDate& d) {
  if (d.kind != PosixDate::kMonthWeekDay || d.time < 0 || d.time >= 86400) return std::nullopt;
  SystemTime st;
  st.month = static_cast<uint16_t>(d.month);
  st.dayOfWeek = static_cast<uint16_t>(d.weekday);
  st.day = static_cast<uint16_t>(d.week);
  st.hour = static_cast<uint16_t>(d.time / 3600);
  st.minute = static_cast<uint16_t>(d.time / 60 % 60);
  st.second = static_cast<uint16_t>(d.time % 60);
  return st;
}

TziRule Pair(int32_t standard, int32_t daylight, SystemTime begins, SystemTime ends) {
  TziRule rule;
  rule.bias = -Minutes(standard);
  rule.daylightBias = -Minutes(daylight) - rule.bias;
  rule.daylightDate = begins;
  rule.standardDate = ends;
  return rule;
}

TziRule Fixed(int32_t offset) {
  TziRule rule;
  rule.bias = -Minutes(offset);
  return rule;
}

}  // namespace

TziRule RuleForYear(const ZoneFile& file, int year, int64_t now, RuleKind* kind) {
  RuleKind unused;
  if (!kind) kind = &unused;
  const Zone zone(file);
  // The year on the zone's own clock, in local seconds.
  const int64_t from = DaysFromCivil(year, 1, 1) * 86400;
  const int64_t to = DaysFromCivil(year + 1, 1, 1) * 86400;
  const std::vector<Change> changes = zone.Changes(from, to);

  if (changes.empty()) {
    *kind = RuleKind::kFixed;
    return Fixed(zone.At(from + (to - from) / 2).utoff);  // the same all year
  }

  // The yearly rule of the footer, when it gives exactly this year's changes.
  const auto& r = zone.Rule();
  if (r && r->hasDst && changes.size() == 2) {
    const auto begins = DirectRule(r->start);
    const auto ends = DirectRule(r->end);
    std::vector<int64_t> ruled = {PosixInstant(r->start, year, r->stdOffset),
                                  PosixInstant(r->end, year, r->dstOffset)};
    std::sort(ruled.begin(), ruled.end());
    const auto offsets = std::minmax(changes[0].before.utoff, changes[0].after.utoff);
    const bool sameOffsets = offsets == std::minmax(r->stdOffset, r->dstOffset);
    if (begins && ends && sameOffsets && ruled[0] == changes[0].at && ruled[1] == changes[1].at) {
      *kind = RuleKind::kYearly;
      // A negative saving (winter "daylight" time) is turned round, so that
      // daylight time is the later clock, as Windows keeps it.
      if (r->dstOffset < r->stdOffset) return Pair(r->dstOffset, r->stdOffset, *ends, *begins);
      return Pair(r->stdOffset, r->dstOffset, *begins, *ends);
    }
  }

  // A change there and back: this year's dates, as a yearly rule. With more
  // changes between two offsets (daylight time suspended for some weeks),
  // the first and the last change of the year.
  const Change& first = changes.front();
  const Change& last = changes.back();
  const bool twoOffsets = std::all_of(changes.begin(), changes.end(), [&](const Change& c) {
    return c.before.utoff == first.before.utoff || c.before.utoff == first.after.utoff;
  });
  if (changes.size() >= 2 && twoOffsets && first.before.utoff == last.after.utoff &&
      first.after.utoff == last.before.utoff) {
    *kind = changes.size() == 2 ? RuleKind::kThisYear : RuleKind::kOuterChanges;
    const LocalTimeType outer = first.before, inner = first.after;
    const SystemTime enter = RelativeRule(first.at + outer.utoff);
    const SystemTime leave = RelativeRule(last.at + inner.utoff);
    const bool innerIsDaylight = inner.isdst != outer.isdst ? inner.isdst : inner.utoff > outer.utoff;
    if (innerIsDaylight) return Pair(outer.utoff, inner.utoff, enter, leave);
    return Pair(inner.utoff, outer.utoff, leave, enter);
  }

  // One lasting change: the old offset as "daylight" time from the start of
  // the year to the change, the new one as standard time.
  if (changes.size() == 1) {
    *kind = RuleKind::kOneChange;
    return Pair(first.after.utoff, first.before.utoff, RelativeRule(from),
                RelativeRule(first.at + first.before.utoff));
  }

  *kind = RuleKind::kInForce;
  return Fixed(zone.At(std::clamp(now, from, to - 1)).utoff);
}

std::string EncodeTzi(const TziRule& rule) {
  std::string bytes;
  auto put = [&bytes](uint32_t value, int size) {
    for (int i = 0; i < size; ++i) bytes += static_cast<char>(value >> (8 * i) & 0xFF);
  };
  put(static_cast<uint32_t>(rule.bias), 4);
  put(static_cast<uint32_t>(rule.standardBias), 4);
  put(static_cast<uint32_t>(rule.daylightBias), 4);
  for (const SystemTime& st : {rule.standardDate, rule.daylightDate}) {
    for (uint16_t field : {st.year, st.month, st.dayOfWeek, st.day, st.hour, st.minute, st.second,
                           st.milliseconds})
      put(field, 2);
  }
  return bytes;
}

}  // namespace tzdb
