#include "orrery/report/report_doc.h"

#include "orrery/res/resource.h"
#include "orrery/sky/time_zones.h"
#include "platform/strings.h"
#include "platform/winapp.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

constexpr const char* kOptions = "Options";
constexpr const char* kCrLf = "\r\n";

// Two decimals; values far outside any coordinate in exponent form, so the
// text stays short whatever a hand-edited registry holds.
std::string Coordinate(float value) {
  char text[32];
  const double v = value;
  std::snprintf(text, sizeof text, std::isfinite(v) && std::fabs(v) >= 1e6 ? "%.2e" : "%.2f", v);
  return text;
}

}  // namespace

CReportDoc::CReportDoc(CLocationStore* locations)
    : m_reportDate(CDateTime::GetCurrentTime()),
      m_location(locations ? locations->GetHome() : LocationRecord()),
      m_locations(locations) {
  LoadOptions();
  ResetToToday();
  m_changed = false;
  m_placeOrDateChanged = false;
}

CReportDoc::~CReportDoc() {
  if (m_changed) SaveOptions();
}

void CReportDoc::SetOption(int& field, int value) {
  if (value != field) m_changed = true;
  field = value;
}

void CReportDoc::LoadOptions() {
  CWinApp* app = AfxGetApp();
  if (!app) return;
  SetGreet(app->GetProfileInt(kOptions, "Greet", m_greet));
  SetSun(app->GetProfileInt(kOptions, "Sun", m_sun));
  SetMoon(app->GetProfileInt(kOptions, "Moon", m_moon));
  SetPhase(app->GetProfileInt(kOptions, "Phase", m_phase));
}

bool CReportDoc::SaveOptions() {
  CWinApp* app = AfxGetApp();
  return app && app->WriteProfileInt(kOptions, "Sun", m_sun) &&
         app->WriteProfileInt(kOptions, "Moon", m_moon) &&
         app->WriteProfileInt(kOptions, "Phase", m_phase) &&
         app->WriteProfileInt(kOptions, "Greet", m_greet);
}

bool CReportDoc::SaveChanges() {
  if (m_changed) SaveOptions();
  if (m_quotes.IsModified()) {
    m_quotes.SaveList();
    m_quotes.SaveIndex();
  }
  const bool notes = m_notes.SaveChanges();
  const bool name = m_greeting.SaveName();
  return notes && name;
}

std::string CReportDoc::Compose() {
  std::string head;
  if (m_greet) head = m_greeting.GetGreeting();
  m_nameShown = m_greeting.GetName();

  const bool today = MoveNotesToNow();
  std::string body;
  m_datedShown = today ? m_notes.GetDatedText() : std::string();
  if (!m_datedShown.empty()) body = m_datedShown + kCrLf;
  m_annualShown = today ? m_notes.GetAnnualText() : std::string();
  if (!m_annualShown.empty()) body += m_annualShown + kCrLf;
  const std::string reminders = today ? m_notes.GetReminders() : std::string();
  if (!reminders.empty()) body += reminders + kCrLf;
  if (!body.empty()) body += kCrLf;

  head += body + SkySection(false);

  m_quotes.SetDate(CDateTime::GetCurrentTime());
  const std::string quote = m_quotes.GetDailyQuote();
  if (!quote.empty()) head += quote + kCrLf + kCrLf;
  return head;
}

bool CReportDoc::IsToday(const CDateTime& date) const {
  const CDateTime now = CDateTime::GetCurrentTime();
  return date.GetYear() == now.GetYear() && date.GetDayOfYear() == now.GetDayOfYear();
}

std::string CReportDoc::SkySection(bool withHeader) {
  const std::string zone = ResolveZone(m_location, m_reportDate);
  const bool home = m_locations && m_locations->IsHome(m_location);

  std::string format = LoadString(IDS_REPORT_DATE_FORMAT);
  if (format.empty()) format = "%d %B %Y   %A";
  std::string head = m_reportDate.Format(format.c_str()) + " - " +
                     std::string(m_location.name, strnlen(m_location.name, sizeof m_location.name));
  if (home) head += "  (Home Location)";
  else head += " Position: (" + Coordinate(m_location.latitude) + ", " + Coordinate(m_location.longitude) + ")";
  head += kCrLf;
  head += "TimeZone: " + zone + kCrLf;

  if (withHeader) {
    m_placeOrDateChanged = false;
  } else {
    head.clear();
    if (home && IsToday(m_reportDate)) m_placeOrDateChanged = false;
  }

  m_sunMoon.SetDate(m_reportDate);
  m_sunMoon.SetPlace(m_location);
  std::string sky;
  if (m_sun) sky += m_sunMoon.SunText() + kCrLf;
  if (m_moon) sky += m_sunMoon.MoonText() + kCrLf;
  if (m_phase) sky += m_sunMoon.PhaseText() + kCrLf;
  if (!sky.empty()) head += sky + kCrLf;

  if (m_changed) SaveOptions();
  m_changed = false;
  return head;
}

bool CReportDoc::NeedsRebuild() {
  if (m_greeting.GetName() != m_nameShown) m_changed = true;
  if (m_quotes.IsModified()) m_changed = true;
  const bool today = MoveNotesToNow();
  if ((today ? m_notes.GetDatedText() : std::string()) != m_datedShown ||
      (today ? m_notes.GetAnnualText() : std::string()) != m_annualShown)
    m_changed = true;
  return m_changed;
}

bool CReportDoc::MoveNotesToNow() {
  const CDateTime now = CDateTime::GetCurrentTime();
  m_notes.SetDate(now);
  return m_notes.GetDate() == now;
}

void CReportDoc::ResetToToday() {
  m_reportDate = CDateTime::GetCurrentTime();
  if (m_locations) SetCurrentLocation(m_locations->GetHome());
}

void CReportDoc::SetCurrentLocation(const LocationRecord& record) {
  if (std::strncmp(record.zoneKey, m_location.zoneKey, sizeof record.zoneKey) != 0) {
    std::memcpy(m_location.zoneName, record.zoneName, sizeof record.zoneName);
    std::memcpy(m_location.zoneKey, record.zoneKey, sizeof record.zoneKey);
    m_placeOrDateChanged = true;
  }
  if (std::strncmp(record.name, m_location.name, sizeof record.name) != 0) {
    std::memcpy(m_location.name, record.name, sizeof record.name);
    m_placeOrDateChanged = true;
  }
  if (record.latitude != m_location.latitude) {
    m_location.latitude = record.latitude;
    m_placeOrDateChanged = true;
  }
  if (record.longitude != m_location.longitude) {
    m_location.longitude = record.longitude;
    m_placeOrDateChanged = true;
  }
}

void CReportDoc::SetReportDate(int month, int day, int year) {
  if (month == m_reportDate.GetMonth() && day == m_reportDate.GetDay() &&
      year == m_reportDate.GetYear())
    return;
  const CDateTime date(year, month, day, 12, 0, 0);
  if (!date.IsValid()) return;
  m_reportDate = date;
  m_placeOrDateChanged = true;
}
