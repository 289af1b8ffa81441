#include "orrery/ui/scd_sheet.h"

#include "orrery/notes/note_store.h"
#include "orrery/report/report_doc.h"
#include "orrery/res/resource.h"
#include "orrery/res/ui_ids.h"
#include "orrery/ui/about_dlg.h"
#include "orrery/ui/notes_alerts.h"
#include "platform/datetime.h"
#include "platform/strings.h"
#include "platform/ui/help.h"
#include "platform/ui/placement.h"
#include "platform/ui/shell.h"
#include "platform/ui/text.h"
#include "platform/winapp.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QTabWidget>

namespace {

const int kBand = 40;
const int kCaptionButtons = 26;  // room for the icon and "?" at the band's ends
bool g_failTimer = false;

const char kSection[] = "WindowPos";

}  // namespace

void CScdSheet::FailTimerForTesting(bool fail) { g_failTimer = fail; }

CScdSheet::CScdSheet() : CPropertySheet(ToQ(LoadString(IDS_APP_TITLE))) {
  AddPage(&m_reportPage);
  AddPage(&m_datePage);
  AddPage(&m_mapPage);
  AddPage(&m_optionPage);
  AddPage(&m_infoPage);
  m_created = Create();
}

CScdSheet::~CScdSheet() = default;

bool CScdSheet::Create() {
  if (!CPropertySheet::Create()) return false;
  QIcon icon = LoadIcon(IDR_MAINFRAME);
  icon.addFile(QStringLiteral(":/orrery/icon128_16.png"), QSize(16, 16));
  setWindowIcon(icon);
  setFixedSize(width(), height() + kBand);
  QTabWidget* tabs = GetTabControl();
  tabs->move(tabs->x(), tabs->y() + kBand);

  m_dateLine = new QLabel(QStringLiteral("Wait..."), this);
  m_dateLine->setProperty("lumenControlId", IDC_DATE_LINE);
  m_dateLine->setGeometry(tabs->x() + kCaptionButtons, 5, tabs->width() - 2 * kCaptionButtons,
                          38 - 5);
  m_dateLine->setFont(MakeCellFont("Playbill", 33));
  m_dateLine->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  m_dateLine->show();
  SetCaptionBand(QRect(tabs->x(), 0, tabs->width(), kBand));
  return true;
}

bool CScdSheet::OnCreate() {
  if (g_failTimer || !SetTimer(1, 2000)) {
    AfxMessageBox(nullptr, ToQ(LoadString(IDS_INSUFFICIENT_RESOURCES)), MB_ICONERROR,
                  ToQ(LoadString(IDS_APP_TITLE)));
    return false;
  }
  return true;
}

bool CScdSheet::OnInitDialog() {
  const bool result = CPropertySheet::OnInitDialog();
  CMenu* menu = GetSystemMenu();
  menu->DeleteMenu(SC_SIZE);
  menu->DeleteMenu(SC_MAXIMIZE);
  menu->InsertMenu(SC_CLOSE, IDM_PERSONAL_DIRECTORY, QStringLiteral("&Set Personal Directory..."));
  menu->AppendSeparator();
  menu->AppendMenu(IDM_ABOUTBOX, QStringLiteral("&About Lumen Almanac"));
  return result;
}

bool CScdSheet::SetDateLine(const std::string& text) {
  if (!m_dateLine || FromQ(m_dateLine->text()) == text) return false;
  m_dateLine->setText(ToQ(text));
  return true;
}

std::string CScdSheet::GetDateLine() const { return m_dateLine ? FromQ(m_dateLine->text()) : ""; }

void CScdSheet::SetPlaces(CLocationStore* places) {
  m_places = places;
  m_mapPage.SetPlaces(places);
}

void CScdSheet::SetDocument(CReportDoc* doc) {
  m_doc = doc;
  for (int i = 0; i < GetPageCount(); ++i) static_cast<CScdPage*>(GetPage(i))->SetDocument(doc);
}

void CScdSheet::OnTimer(unsigned) {
  // A save into a damaged notes file may have happened anywhere.
  if (m_doc && !QApplication::activeModalWidget()) ShowNotesDamage(this, *m_doc->GetNoteStore());
  if (!isMinimized())
    SetDateLine(CDateTime::GetCurrentTime().Format(LoadString(IDS_DATE_LINE_FORMAT).c_str()));
}

void CScdSheet::OnSysCommand(unsigned id) {
  switch (id & 0xFFFF) {
    case IDM_PERSONAL_DIRECTORY:
      ChoosePersonalDirectory();
      return;
    case IDM_ABOUTBOX:
      ShowAbout();
      return;
    default:
      CPropertySheet::OnSysCommand(id);
  }
}

bool CScdSheet::OnCommand(unsigned id) {
  if (id == IDM_ABOUTBOX) {
    ShowAbout();
    return true;
  }
  return CPropertySheet::OnCommand(id);
}

bool CScdSheet::OnContextMenu(QWidget*, const QPoint& pos) {
  TrackPopupMenu(IDR_MAINFRAME, pos);
  return true;
}

void CScdSheet::ChoosePersonalDirectory() {
  if (!m_doc) return;
  CNoteStore& notes = *m_doc->GetNoteStore();
  const QString title = ToQ(LoadString(IDS_APP_TITLE));
  const auto path = BrowseForFolder(this, ToQ(LoadString(IDS_CHOOSE_DIRECTORY)), notes.GetDirectory());
  if (!path) return;
  const std::string current = notes.GetDirectory();
  const bool same = QDir(ToQ(*path)) == QDir(ToQ(current));
  // A new, empty folder would hide the notes: offer to take them along.
  if (!same && notes.HasDirectory() && CNoteStore::HasNotesFiles(current) &&
      !CNoteStore::HasNotesFiles(*path)) {
    const QString ask = ToQ(LoadString(IDS_MOVE_NOTES)).arg(ToQ(current), ToQ(*path));
    const int answer = AfxMessageBox(this, ask, MB_YESNOCANCEL | MB_ICONQUESTION, title);
    if (answer == IDCANCEL) return;
    if (answer == IDYES) {
      std::string error;
      if (!notes.MovePersonalDirectory(*path, &error)) {
        const QString text = ToQ(LoadString(IDS_NOTES_NOT_MOVED)).arg(ToQ(notes.GetDirectory()), ToQ(error));
        AfxMessageBox(this, text, MB_ICONWARNING, title);
      }
      ShowNotesDamage(this, notes);
      RefreshNotesViews();
      return;
    }
  }
  const bool changed = notes.SetPersonalDirectory(*path);
  ShowNotesDamage(this, notes);
  if (changed) {
    RefreshNotesViews();
    return;
  }
  // The notes of the old directory could not be saved, so it stays.
  std::string text = LoadString(IDS_DIRECTORY_NOT_CHANGED);
  const size_t at = text.find("%s");
  if (at != std::string::npos) text.replace(at, 2, notes.GetDirectory());
  AfxMessageBox(this, ToQ(text), MB_ICONWARNING, title);
}

void CScdSheet::RefreshNotesViews() {
  if (!m_doc) return;
  // The page in front shows them now; the others when next activated.
  CPropertyPage* page = GetActivePage();
  if (page == &m_reportPage) m_reportPage.Refresh();
  if (page == &m_datePage) m_datePage.UpdateNotesView();
  emit notesDirectoryChanged();
}

void CScdSheet::ShowAbout() {
  CAboutDlg about(this);
  if (m_doc) about.Fill(*m_doc->GetQuoteList(), *m_doc->GetNoteStore());
  about.DoModal();
}

bool CScdSheet::RestorePosition() {
  WINDOWPLACEMENT placement;
  if (!GetWindowPlacement(this, &placement)) return false;
  CWinApp* app = AfxGetApp();
  if (!app) return false;
  const int flags = app->GetProfileInt(kSection, "flags", -1);
  const int cmd = app->GetProfileInt(kSection, "Cmd", -1);
  const int left = app->GetProfileInt(kSection, "left", -1);
  const int top = app->GetProfileInt(kSection, "top", -1);
  const int right = app->GetProfileInt(kSection, "right", -1);
  const int bottom = app->GetProfileInt(kSection, "bottom", -1);
  if (flags == -1 || cmd == -1 || left == -1 || top == -1 || right == -1 || bottom == -1)
    return false;
  // In 64 bits: the saved values may be anything a registry holds.
  using Wide = long long;
  if (Wide{right} - left != Wide{placement.right} - placement.left ||
      Wide{bottom} - top != Wide{placement.bottom} - placement.top)
    return false;
  const int cxIcon = GetSystemMetrics(SM_CXICON), cyIcon = GetSystemMetrics(SM_CYICON);
  if (!(left < GetSystemMetrics(SM_CXSCREEN) - cxIcon && top < GetSystemMetrics(SM_CYSCREEN) - cyIcon &&
        right > cxIcon && bottom > cyIcon))
    return false;
  placement.flags = static_cast<unsigned>(flags);
  // A hidden state would leave Orrery running with no window to close.
  placement.showCmd = static_cast<unsigned>(cmd) == SW_HIDE ? SW_SHOWNORMAL : static_cast<unsigned>(cmd);
  placement.left = left;
  placement.top = top;
  placement.right = right;
  placement.bottom = bottom;
  return SetWindowPlacement(this, placement);
}

bool CScdSheet::SavePosition() {
  WINDOWPLACEMENT placement;
  CWinApp* app = AfxGetApp();
  if (!app || !GetWindowPlacement(this, &placement)) return false;
  return app->WriteProfileInt(kSection, "flags", static_cast<int>(placement.flags)) &&
         app->WriteProfileInt(kSection, "Cmd", static_cast<int>(placement.showCmd)) &&
         app->WriteProfileInt(kSection, "left", placement.left) &&
         app->WriteProfileInt(kSection, "top", placement.top) &&
         app->WriteProfileInt(kSection, "right", placement.right) &&
         app->WriteProfileInt(kSection, "bottom", placement.bottom);
}

void CScdSheet::OnDestroy() {
  SavePosition();
  KillTimer(1);
}

void CScdSheet::PostNcDestroy() { deleteLater(); }
