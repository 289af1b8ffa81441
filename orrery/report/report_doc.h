// The daily report: owns the report's sources (greeting, notes, quotation
// list, Sun and Moon), holds the four report options, the report date and the
// current location, and composes the report text.
#pragma once

#include "orrery/notes/note_store.h"
#include "orrery/quotes/quote_list.h"
#include "orrery/report/greeting.h"
#include "orrery/sky/location_store.h"
#include "orrery/sky/sun_moon.h"
#include "platform/datetime.h"

#include <string>

class CReportDoc {
public:
  // Builds the sources (the notes and the current quotation file load),
  // reads the options and starts at now and the Home location.
  explicit CReportDoc(CLocationStore* locations);
  // Saves changed options; the sources then save their own changes.
  virtual ~CReportDoc();
  CReportDoc(const CReportDoc&) = delete;
  CReportDoc& operator=(const CReportDoc&) = delete;

  // Greeting, today's notes and reminders, the sky lines, the quotation.
  std::string Compose();
  // The Sun and Moon lines for the report date and current location, with
  // the date and place header when asked.
  std::string SkySection(bool withHeader);
  // Whether the report shows something that changed since it was composed.
  bool NeedsRebuild();
  // The Report page appends a section with header while this is set.
  bool IsPlaceOrDateChanged() const { return m_placeOrDateChanged; }

  void ResetToToday();
  void SetCurrentLocation(const LocationRecord& record);
  // Noon of the date; an invalid date changes nothing.
  void SetReportDate(int month, int day, int year);
  CDateTime GetReportDate() const { return m_reportDate; }
  LocationRecord GetCurrentLocation() const { return m_location; }

  int GetGreet() const { return m_greet; }
  int GetSun() const { return m_sun; }
  int GetMoon() const { return m_moon; }
  int GetPhase() const { return m_phase; }
  void SetGreet(int value) { SetOption(m_greet, value); }
  void SetSun(int value) { SetOption(m_sun, value); }
  void SetMoon(int value) { SetOption(m_moon, value); }
  void SetPhase(int value) { SetOption(m_phase, value); }
  void LoadOptions();
  // Writes "Sun", "Moon", "Phase", "Greet", stopping at the first failure.
  bool SaveOptions();

  // Saves everything that changed now, as the destructor would; false when
  // the notes or the first name could not be saved, so the program can say so.
  bool SaveChanges();

  CGreeting* GetGreetingObj() { return &m_greeting; }
  CNoteStore* GetNoteStore() { return &m_notes; }
  CQuoteList* GetQuoteList() { return &m_quotes; }

private:
  void SetOption(int& field, int value);
  bool IsToday(const CDateTime& date) const;
  // Sets the notes store's date to now. False when the store had to stay in
  // another year (its unsaved notes could not be saved): it then holds none
  // of today's notes.
  bool MoveNotesToNow();

  int m_greet = 1;
  int m_sun = 1;
  int m_moon = 1;
  int m_phase = 1;
  bool m_changed = false;
  bool m_placeOrDateChanged = false;
  std::string m_datedShown;
  std::string m_annualShown;
  std::string m_nameShown;
  CDateTime m_reportDate;
  LocationRecord m_location;
  CLocationStore* m_locations;
  CGreeting m_greeting;
  CNoteStore m_notes;
  CQuoteList m_quotes;
  CSunMoon m_sunMoon;
};
