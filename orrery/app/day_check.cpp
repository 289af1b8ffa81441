#include "orrery/app/day_check.h"

#include "orrery/app/run_key.h"

#include <cctype>

std::optional<long long> CommandLineDayNumber(const std::string& commandLine) {
  size_t i = 0;
  while (i < commandLine.size() && (commandLine[i] == ' ' || commandLine[i] == '\t')) ++i;
  bool negative = false;
  if (i < commandLine.size() && (commandLine[i] == '+' || commandLine[i] == '-'))
    negative = commandLine[i++] == '-';
  if (i >= commandLine.size() || !std::isdigit(static_cast<unsigned char>(commandLine[i])))
    return std::nullopt;
  long long value = 0;
  for (; i < commandLine.size() && std::isdigit(static_cast<unsigned char>(commandLine[i])); ++i)
    if (value < 1000000) value = value * 10 + (commandLine[i] - '0');  // no day is that large
  return negative ? -value : value;
}

bool AlreadyStartedToday(const std::string& commandLine, const CDateTime& now) {
  const std::optional<long long> day = CommandLineDayNumber(commandLine);
  if (!day) return false;
  if (now.IsValid() && *day == now.GetDayOfYear()) return true;
  CRunKey runKey;
  runKey.RefreshDay(now);
  return false;
}
