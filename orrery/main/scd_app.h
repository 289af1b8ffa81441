// Orrery's application object: the day-number check, the main window, the
// location store and the report document, and their order at exit.
#pragma once

#include "orrery/app/settings_store.h"
#include "platform/datetime.h"

#include <QPointer>

#include <memory>
#include <string>

class CLocationStore;
class CNotesWatcher;
class CReportDoc;
class CScdSheet;
class CSessionEnd;
class CSingleInstance;

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
  // With a QApplication, before InitWindows: false when Orrery already runs
  // for this user; that one has been asked to come to the front.
  bool ClaimInstance();
  // Brings the main window to the front (a later start asked for it).
  void Activate();
  // The session ends (a signal, the session manager): open dialogs close,
  // keeping what was typed, and the window closes as at Close, so that
  // everything is saved as at a normal exit, without questions.
  void EndSession();
  // Closes what is left of the window, saves the notes (asking to retry
  // when a file cannot be written), deletes the document and then the
  // location store. Returns exitCode.
  int ExitInstance(int exitCode = 0);

  CScdSheet* GetMainWnd() const;
  CReportDoc* GetDocument() const { return m_doc; }
  CLocationStore* GetPlaces() const { return m_places; }

private:
  void SaveNotesAsking();
  // Saves the places set in this run, asking to retry when they cannot be.
  void SavePlacesAsking();
  // One message naming each settings file that cannot be read.
  void ReportUnreadableSettings();

  CReportDoc* m_doc = nullptr;
  std::unique_ptr<CSingleInstance> m_instance;
  std::unique_ptr<CSessionEnd> m_sessionEnd;
  QPointer<CNotesWatcher> m_watcher;
  int m_endTries = 0;
  CLocationStore* m_places = nullptr;
  QPointer<CScdSheet> m_sheet;
};
