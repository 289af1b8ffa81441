#include "orrery/main/scd_app.h"

#include "orrery/app/day_check.h"
#include "orrery/report/report_doc.h"
#include "orrery/res/resource.h"
#include "orrery/res/ui_resources.h"
#include "orrery/sky/location_store.h"
#include "orrery/ui/notes_alerts.h"
#include "orrery/ui/scd_sheet.h"
#include "platform/paths.h"
#include "platform/strings.h"
#include "platform/ui/help.h"
#include "platform/ui/placement.h"
#include "platform/ui/session_end.h"
#include "platform/ui/shell.h"
#include "platform/ui/single_instance.h"
#include "platform/ui/text.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>

CScdApp::CScdApp(std::string profileName) : CSettingsApp(std::move(profileName)) {}

CScdApp::~CScdApp() { ExitInstance(); }

namespace {
const int kEndSessionTries = 50;
}

bool CScdApp::ClaimInstance() {
  if (!m_instance) {
    m_instance = std::make_unique<CSingleInstance>(QStringLiteral("lumen-almanac-orrery"));
    m_instance->onActivate = [this] { Activate(); };
  }
  return m_instance->Claim();
}

void CScdApp::Activate() {
  CScdSheet* sheet = GetMainWnd();
  if (!sheet) return;
  if (sheet->isMinimized() || sheet->isHidden()) sheet->showNormal();
  sheet->raise();
  sheet->activateWindow();
}

void CScdApp::EndSession() {
  // A modal dialog's own event loop must return before the window closes.
  if (EndModalWindow() && ++m_endTries < kEndSessionTries) {
    QTimer::singleShot(0, qApp, [this] { EndSession(); });
    return;
  }
  if (CScdSheet* sheet = GetMainWnd())
    sheet->close();
  else if (qApp)
    QCoreApplication::quit();
}

void CScdApp::ReportUnreadableSettings() {
  std::string files;
  for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
    const std::string failure = RegHiveFailure(root);
    if (!failure.empty()) files += (files.empty() ? "" : "\r\n") + failure;
  }
  if (files.empty()) return;
  std::fprintf(stderr, "Orrery: %s\n", files.c_str());
  AfxMessageBox(nullptr, ToQ(LoadString(IDS_SETTINGS_UNREADABLE)).arg(ToQ(files)), MB_ICONERROR,
                ToQ(LoadString(IDS_APP_TITLE)));
}

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
  ReportUnreadableSettings();
  if (!m_sessionEnd) m_sessionEnd = std::make_unique<CSessionEnd>([this] { EndSession(); });

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
  // Notes written meanwhile by lumen or another program show at once.
  m_watcher = new CNotesWatcher(m_doc->GetNoteStore(), [sheet] { sheet->RefreshNotesViews(); }, sheet);
  QObject::connect(sheet, &CScdSheet::notesDirectoryChanged, m_watcher.data(), &CNotesWatcher::Rewatch);
  return true;
}

void CScdApp::SaveNotesAsking() {
  CNoteStore* notes = m_doc->GetNoteStore();
  for (;;) {
    const bool saved = m_doc->SaveChanges();
    ShowNotesDamage(nullptr, *notes);
    if (saved) return;
    if (!notes->SaveFailed()) return;  // only the first name: nothing the user can mend
    // Without readable settings there is no notes folder; the user was told.
    if (!notes->HasDirectory()) return;
    std::string files;
    const std::string dir = notes->GetDirectory();
    if (!notes->SaveYearFile()) files = dir + CNoteStore::YearFileName(notes->GetDate().GetYear());
    if (!notes->SaveAnnualFile())
      files += (files.empty() ? "" : "\", \"") + dir + CNoteStore::AnnualFileName();
    if (files.empty()) return;
    std::string text = LoadString(IDS_NOTES_NOT_SAVED);
    const size_t at = text.find("%s");
    if (at != std::string::npos) text.replace(at, 2, files);
    if (CSessionEnd::IsEnding()) {
      std::fprintf(stderr, "Orrery: %s\n", text.c_str());
      return;
    }
    if (!qApp || AfxMessageBox(nullptr, ToQ(text), MB_RETRYCANCEL | MB_ICONERROR,
                               ToQ(LoadString(IDS_APP_TITLE))) != IDRETRY)
      return;
  }
}

void CScdApp::SavePlacesAsking() {
  while (m_places->IsModified() && !m_places->Save()) {
    const std::string error = m_places->GetSaveError();
    // Unreadable settings were named at start; nothing can be written then.
    const bool unreadable = !RegHiveFailure(HKEY_LOCAL_MACHINE).empty();
    if (CSessionEnd::IsEnding() || unreadable || !qApp) {
      if (!unreadable) std::fprintf(stderr, "Orrery: the places could not be saved: %s\n", error.c_str());
      break;
    }
    const QString text = ToQ(LoadString(IDS_PLACES_NOT_SAVED)).arg(ToQ(error));
    if (AfxMessageBox(nullptr, text, MB_RETRYCANCEL | MB_ICONERROR, ToQ(LoadString(IDS_APP_TITLE))) !=
        IDRETRY)
      break;
  }
  // Told and declined: the destructor must not write them behind the user's back.
  m_places->Discard();
}

int CScdApp::ExitInstance(int exitCode) {
  delete m_sheet.data();
  if (m_doc) {
    SaveNotesAsking();
    delete m_doc;
    m_doc = nullptr;
  }
  if (m_places) {
    SavePlacesAsking();
    delete m_places;
    m_places = nullptr;
  }
  m_sessionEnd.reset();
  return exitCode;
}
