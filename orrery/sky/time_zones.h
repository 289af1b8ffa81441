// The system time zone database (read only) and the offset rules built on it.
#pragma once

#include "orrery/sky/location_store.h"
#include "platform/datetime.h"
#include "platform/registry.h"

#include <cstdint>
#include <string>

// A calendar moment or, with wYear 0, a yearly rule: the wDay-th (5 = last)
// wDayOfWeek (0 = Sunday) of wMonth at the given time. wMonth 0: none.
struct SYSTEMTIME {
  uint16_t wYear = 0;
  uint16_t wMonth = 0;
  uint16_t wDayOfWeek = 0;
  uint16_t wDay = 0;
  uint16_t wHour = 0;
  uint16_t wMinute = 0;
  uint16_t wSecond = 0;
  uint16_t wMilliseconds = 0;
};

// The "TZI" value of a zone: biases in minutes (UTC = local + bias), and the
// moments daylight time ends (StandardDate) and begins (DaylightDate).
struct REG_TZI_FORMAT {
  int32_t Bias = 0;
  int32_t StandardBias = 0;
  int32_t DaylightBias = 0;
  SYSTEMTIME StandardDate;
  SYSTEMTIME DaylightDate;
};
static_assert(sizeof(SYSTEMTIME) == 16 && sizeof(REG_TZI_FORMAT) == 44);

// The database's root key opened for reading, or null. The caller closes it.
HKEY OpenTimeZoneRoot();
// The index-th zone (from 0): sets the record's zone key and zone name
// ("Display"); false, with the record unchanged, past the last zone.
bool EnumTimeZone(HKEY root, int index, LocationRecord& record);
// The zone's name (at most 31 characters) and bias in force at date; an empty
// name and bias 0 when the zone or its rule cannot be read.
std::string ReadTimeZone(const std::string& zoneKey, const CDateTime& date, int* bias);
// Whether daylight time applies at date under the rule.
bool IsDaylightTime(const REG_TZI_FORMAT& rule, const CDateTime& date);
// The moment the rule switches in year, or an invalid value for none.
CDateTime TransitionDate(const SYSTEMTIME& rule, int year);
// The whole-hour zone of a longitude: "GMT%+d" and its bias.
std::string LongitudeZone(float longitude, int* bias);
// The record's zone for date (its zone key, else its longitude): stores the
// bias in the record and returns the zone's name.
std::string ResolveZone(LocationRecord& record, const CDateTime& date);
