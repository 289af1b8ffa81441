#include "orrery/main/scd_app.h"

#include "orrery/app/day_check.h"
#include "orrery/report/report_doc.h"
#include "orrery/res/resource.h"
#include "orrery/res/ui_resources.h"
#include "orrery/sky/location_store.h"
#include "orrery/ui/scd_sheet.h"
#include "platform/paths.h"
#include "platform/strings.h"
#include "platform/ui/help.h"
#include "platform/ui/placement.h"
#include "platform/ui/shell.h"
#include "platform/ui/text.h"

#include <QApplication>

CScdApp::CScdApp(std::string profileName) : CSettingsApp(std::move(profileName)) {}

CScdApp::~CScdApp() { ExitInstance(); }

CScdSheet* CScdApp::GetMainWnd() const { return m_sheet.data(); }

bool CScdApp::CheckDayNumber(const std::string& commandLine, const CDateTime& now) {
  return !AlreadyStartedToday(commandLine, now);
}

bool CScdApp::InitInstance(const std::string& commandLine, const CDateTime& now,
                           unsigned showCmd) {
  return CheckDayNumber(commandLine, now) && InitWindows(now, showCmd);
}

bool CScdApp::InitWindows(const CDateTime& now, unsigned showCmd) {
  CWaitCursor wait;
  SetUiResources(&OrreryUiResources());
  QGuiApplication::setApplicationDisplayName(ToQ(LoadString(IDS_APP_TITLE)));
  SetHelpFilePath(PathDirectory(GetModuleFileName()) + "Lumen.hlp");
  SetRegistryKey(IDS_REGISTRY_KEY);

  auto* sheet = new CScdSheet;
  if (!sheet->IsCreated()) {
    delete sheet;
    return false;
  }
  m_sheet = sheet;
  // The program ends with its main window, even while the help viewer is open.
  QObject::connect(sheet, &QObject::destroyed, qApp, &QCoreApplication::quit, Qt::QueuedConnection);
  if (!sheet->RestorePosition()) ShowWindow(sheet, showCmd);
  sheet->update();
  sheet->SetDateLine(now.Format(LoadString(IDS_DATE_LINE_FORMAT).c_str()));

  m_places = new CLocationStore;
  sheet->SetPlaces(m_places);
  m_doc = new CReportDoc(m_places);
  sheet->SetDocument(m_doc);
  sheet->GetReportPage().Refresh();
  return true;
}

void CScdApp::SaveNotesAsking() {
  for (;;) {
    if (m_doc->SaveChanges()) return;
    CNoteStore* notes = m_doc->GetNoteStore();
    if (!notes->SaveFailed()) return;  // only the first name: nothing the user can mend
    std::string files;
    const std::string dir = notes->GetDirectory();
    if (!notes->SaveYearFile()) files = dir + CNoteStore::YearFileName(notes->GetDate().GetYear());
    if (!notes->SaveAnnualFile())
      files += (files.empty() ? "" : "\", \"") + dir + CNoteStore::AnnualFileName();
    if (files.empty()) return;
    std::string text = LoadString(IDS_NOTES_NOT_SAVED);
    const size_t at = text.find("%s");
    if (at != std::string::npos) text.replace(at, 2, files);
    if (!qApp || AfxMessageBox(nullptr, ToQ(text), MB_RETRYCANCEL | MB_ICONERROR,
                               ToQ(LoadString(IDS_APP_TITLE))) != IDRETRY)
      return;
  }
}

int CScdApp::ExitInstance(int exitCode) {
  delete m_sheet.data();
  if (m_doc) {
    SaveNotesAsking();
    delete m_doc;
    m_doc = nullptr;
  }
  delete m_places;
  m_places = nullptr;
  return exitCode;
}
