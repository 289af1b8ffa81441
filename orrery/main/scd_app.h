// Orrery's application object: the day-number check, the main window, the
// location store and the report document, and their order at exit.
#pragma once

#include "orrery/app/settings_store.h"
#include "platform/datetime.h"

#include <QPointer>

#include <string>

class CLocationStore;
class CReportDoc;
class CScdSheet;

class CScdApp : public CSettingsApp {
public:
  // profileName "" takes the executable's name ("Orrery").
  explicit CScdApp(std::string profileName = {});
  ~CScdApp() override;

  // False when the command line's day number is today's day of the year:
  // Orrery already started today and ends. Touches no window system.
  bool CheckDayNumber(const std::string& commandLine, const CDateTime& now);
  // The rest of start-up, with a QApplication: the window, its position or
  // showCmd, the date line, the two stores and the first report. False when
  // the window could not be created.
  bool InitWindows(const CDateTime& now, unsigned showCmd);
  bool InitInstance(const std::string& commandLine, const CDateTime& now, unsigned showCmd);
  // Closes what is left of the window, saves the notes (asking to retry
  // when a file cannot be written), deletes the document and then the
  // location store. Returns exitCode.
  int ExitInstance(int exitCode = 0);

  CScdSheet* GetMainWnd() const;
  CReportDoc* GetDocument() const { return m_doc; }
  CLocationStore* GetPlaces() const { return m_places; }

private:
  void SaveNotesAsking();

  CReportDoc* m_doc = nullptr;
  CLocationStore* m_places = nullptr;
  QPointer<CScdSheet> m_sheet;
};
