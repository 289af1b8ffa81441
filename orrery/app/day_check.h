// The first step of Orrery's start-up: the day number of the daily start.
#pragma once

#include "platform/datetime.h"

#include <optional>
#include <string>

// The decimal integer that the command line begins with (after blanks), or
// none when it begins with anything else.
std::optional<long long> CommandLineDayNumber(const std::string& commandLine);

// True when Orrery must end at once: the command line's day number is the
// day of the year of now, so the report was already shown today. With
// another day number the daily Run entry is brought to today; without one
// nothing is done. Failures there are silent.
bool AlreadyStartedToday(const std::string& commandLine, const CDateTime& now);
