#include "orrery/sky/sun_moon.h"

CSunMoon::CSunMoon() : m_dayZero(0.0) { SetDate(CDateTime::GetCurrentTime()); }

bool CSunMoon::SetDate(const CDateTime& date) {
  if (!date.IsValid()) return false;
  m_dayZero = static_cast<double>(date.GetDayNumber()) + 2415018.5;
  return true;
}

void CSunMoon::SetPlace(const LocationRecord& place) { m_place = place; }

std::string CSunMoon::SunText() const { return {}; }
std::string CSunMoon::MoonText() const { return {}; }
std::string CSunMoon::PhaseText() const { return {}; }
