#include "adagio/app/generator_dlg.h"

#include "adagio/app/about_dlg.h"
#include "adagio/app/generator_app.h"
#include "adagio/quote_source.h"
#include "adagio/res/resource.h"
#include "adagio/res/ui_ids.h"
#include "platform/paths.h"
#include "platform/strings.h"
#include "platform/ui/file_dialog.h"
#include "platform/ui/help.h"
#include "platform/ui/shell.h"
#include "platform/ui/text.h"

#include <QComboBox>
#include <QDesktopServices>
#include <QFileInfo>
#include <QKeySequence>
#include <QShortcut>
#include <QToolButton>
#include <QUrl>

namespace {

const char kSettings[] = "Settings";
const char kEditorEntry[] = "Editor";

CGeneratorDlg::ShellOpen g_shellOpen;

bool StartProgram(const std::string& file, const std::string& parameters) {
  if (g_shellOpen) return g_shellOpen(file, parameters);
  return ShellExecuteOpen(file, parameters);
}

// A source is opened with the desktop's program for it, never run, even
// when its file is marked executable.
bool OpenDocument(const std::string& path) {
  if (g_shellOpen) return g_shellOpen(path, "");
  const QFileInfo info(QString::fromLocal8Bit(path.c_str()));
  return info.isFile() && QDesktopServices::openUrl(QUrl::fromLocalFile(info.absoluteFilePath()));
}

QString AppCaption() {
  CWinApp* app = AfxGetApp();
  return app ? ToQ(app->GetProfileName()) : QString();
}

}  // namespace

void CGeneratorDlg::SetShellOpenForTesting(ShellOpen open) { g_shellOpen = std::move(open); }

CGeneratorDlg::CGeneratorDlg(QWidget* parent) : CDialog(IDD_GENERATOR, parent) {
  // The program's main window: a window of its own in the taskbar, with a
  // minimise box.
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                 Qt::MSWindowsFixedSizeDialogHint);
  connect(this, &QDialog::finished, this, [this] { WinHelp(0, HELP_QUIT); });
}

CGeneratorDlg::~CGeneratorDlg() = default;

QWidget* CGeneratorDlg::CreateControl(const ControlTemplate& control, QWidget* parent) {
  if (control.id != IDC_NAME) return CDialog::CreateControl(control, parent);
  m_name = new QComboBox(parent);
  m_name->setEditable(false);
  connect(m_name, &QComboBox::activated, this, [this] { UpdateState(); });
  return m_name;
}

bool CGeneratorDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  setWindowTitle(ToQ(LoadString(IDS_WINDOW_TITLE)));
  EnableContextHelpButton();

  // The drop-down list keeps its closed height; the template's height is
  // that of the opened list.
  const QSize base = DialogBaseUnits(font());
  const int listHeight = DialogUnitsToPixels(base, 0, 0, 0, 59).height();
  m_name->resize(m_name->width(), m_name->sizeHint().height());
  m_name->setMaxVisibleItems(std::max(4, listHeight / std::max(1, m_name->height())));

  CWinApp* app = AfxGetApp();
  m_editor = app ? app->GetProfileString(kSettings, kEditorEntry, "") : "";

  // The window's own menu, opened from its icon, with Alt+Space or a right
  // click; the window manager owns the title bar.
  m_systemMenu.AppendMenu(SC_RESTORE, QStringLiteral("&Restore"));
  m_systemMenu.AppendMenu(SC_MOVE, QStringLiteral("&Move"));
  m_systemMenu.AppendMenu(SC_MINIMIZE, QStringLiteral("Mi&nimize"));
  m_systemMenu.AppendSeparator();
  m_systemMenu.AppendMenu(SC_CLOSE, QStringLiteral("&Close\tAlt+F4"));
  const std::string chooseEditor = LoadString(IDS_CHOOSE_EDITOR_MENU);
  const std::string about = LoadString(IDS_ABOUT_MENU);
  if (!chooseEditor.empty()) m_systemMenu.AppendMenu(IDM_CHOOSE_EDITOR, ToQ(chooseEditor));
  m_systemMenu.AppendSeparator();
  if (!about.empty()) m_systemMenu.AppendMenu(IDM_ABOUTBOX, ToQ(about));

  m_icon = LoadIcon(IDR_MAINFRAME);
  m_icon.addFile(QStringLiteral(":/adagio/icon217_16.png"), QSize(16, 16));
  setWindowIcon(m_icon);

  // The icon (the window's menu) and "?" buttons, in the free corner
  // left of the bottom row.
  m_menuButton = new QToolButton(this);
  m_menuButton->setIcon(m_icon);
  m_menuButton->setAutoRaise(true);
  m_menuButton->setFocusPolicy(Qt::NoFocus);
  m_menuButton->setToolTip(QStringLiteral("Window menu (Alt+Space)"));
  m_menuButton->setGeometry(DialogUnitsToPixels(base, 7, 83, 14, 14));
  connect(m_menuButton, &QToolButton::clicked, this, [this] { ShowSystemMenu(); });
  m_helpButton = new QToolButton(this);
  m_helpButton->setText(QStringLiteral("?"));
  m_helpButton->setAutoRaise(true);
  m_helpButton->setFocusPolicy(Qt::NoFocus);
  m_helpButton->setToolTip(QStringLiteral("What's This? (Shift+F1)"));
  m_helpButton->setGeometry(DialogUnitsToPixels(base, 23, 83, 14, 14));
  connect(m_helpButton, &QToolButton::clicked, this, [this] { OnSysCommand(SC_CONTEXTHELP); });
  auto* menuKey = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_Space), this);
  connect(menuKey, &QShortcut::activated, this, [this] { ShowSystemMenu(); });

  if (CGeneratorApp* generator = GetGeneratorApp()) generator->FillSourceList();
  UpdateState();
  return true;
}

bool CGeneratorDlg::OnCommand(unsigned id) {
  switch (id) {
    case IDC_NEW:
      OnNew();
      return true;
    case IDC_EDIT:
      OnEdit();
      return true;
    case IDC_GENERATE:
      OnGenerate();
      return true;
    case IDC_CREDITS:
      OnCredits();
      return true;
    default:
      return CDialog::OnCommand(id);
  }
}

void CGeneratorDlg::OnSysCommand(unsigned id) {
  switch (id & 0xFFF0) {
    case IDM_CHOOSE_EDITOR:
      OnChooseEditor();
      return;
    case IDM_ABOUTBOX:
      OnCredits();
      return;
    default:
      CDialog::OnSysCommand(id);
  }
}

bool CGeneratorDlg::OnContextMenu(QWidget*, const QPoint& pos) {
  m_systemMenu.Popup(pos, [this](unsigned id) { OnSysCommand(id); });
  return true;
}

void CGeneratorDlg::WinHelp(unsigned long data, HelpCommand command) {
  CDialog::WinHelp(command == HELP_CONTEXT ? data & 0xFFFF : data, command);
}

void CGeneratorDlg::ShowSystemMenu() {
  m_systemMenu.EnableMenuItem(SC_RESTORE, isMinimized());
  m_systemMenu.EnableMenuItem(SC_MOVE, !isMinimized());
  m_systemMenu.EnableMenuItem(SC_MINIMIZE, !isMinimized());
  const QPoint pos = m_menuButton ? m_menuButton->mapToGlobal(QPoint(0, m_menuButton->height()))
                                  : mapToGlobal(QPoint(0, 0));
  m_systemMenu.Popup(pos, [this](unsigned id) { OnSysCommand(id); });
}

void CGeneratorDlg::BringToFront() {
  if (isMinimized()) showNormal();
  show();
  raise();
  activateWindow();
}

void CGeneratorDlg::EnableControl(int id, bool enable) {
  if (QWidget* w = GetDlgItem(id)) w->setEnabled(enable);
}

void CGeneratorDlg::ShowStatus(const std::string& text) {
  m_status = text;
  SetDlgItemText(IDC_STATUS, FromCrLf(m_status));
}

void CGeneratorDlg::UpdateState() {
  CGeneratorApp* app = GetGeneratorApp();
  const std::string path = app ? app->GetSelectedSource() : "";
  if (path.empty()) {
    EnableControl(IDC_EDIT, false);
    EnableControl(IDC_GENERATE, false);
    ShowStatus(LoadString(IDS_SELECT_SOURCE));
    return;
  }
  EnableControl(IDC_EDIT, true);
  CQuoteSource source(path);
  if (!source.CheckSource(false)) {
    EnableControl(IDC_GENERATE, false);
    ShowStatus(LoadString(IDS_SOURCE_INACCESSIBLE));
    return;
  }
  const bool valid = source.ReadTitles();
  EnableControl(IDC_GENERATE, valid);
  ShowStatus(LoadString(valid ? IDS_SOURCE_READY : IDS_NO_TITLES));
}

void CGeneratorDlg::OnNew() {
  CGeneratorApp* app = GetGeneratorApp();
  FileDialogRequest request;
  request.title = QString::fromLatin1(kNewTitle);
  request.filter = kSourceFilter;
  request.defaultExtension = "txt";
  request.initialFile = app ? app->GetSelectedSource() : "";
  request.createPrompt = true;
  const auto path = RunFileDialog(this, request);
  if (!path) return;
  if (!CQuoteSource(*path).CheckSource(true)) {
    ShowStatus(LoadString(IDS_SOURCE_INACCESSIBLE));
    return;
  }
  if (app) app->AddToRecentFileList(*path);
  UpdateState();
}

std::string CGeneratorDlg::QuoteParameter(const std::string& path) {
  // A quotation mark inside stands tripled, as the command line splitter
  // reads it.
  std::string quoted = "\"";
  for (char c : path) quoted += c == '"' ? std::string("\"\"\"") : std::string(1, c);
  return quoted + "\"";
}

void CGeneratorDlg::OnEdit() {
  CGeneratorApp* app = GetGeneratorApp();
  const std::string path = app ? app->GetSelectedSource() : "";
  if (path.empty()) {
    AfxMessageBox(this, ToQ(LoadString(IDS_SELECT_SOURCE)), MB_OK | MB_ICONWARNING, AppCaption());
    return;
  }
  // Without a chosen editor the desktop opens the file with its own
  // program; the file name needs no quoting then.
  const bool started =
      m_editor.empty() ? OpenDocument(path) : StartProgram(m_editor, QuoteParameter(path));
  if (!started) {
    AfxMessageBox(this, ToQ(LoadString(IDS_CANNOT_START_EDITOR)), MB_OK | MB_ICONWARNING,
                  AppCaption());
    return;
  }
  app->AddToRecentFileList(path);
}

void CGeneratorDlg::OnGenerate() {
  CWaitCursor wait;
  CGeneratorApp* app = GetGeneratorApp();
  const std::string path = app ? app->GetSelectedSource() : "";
  if (path.empty()) {
    ShowStatus(LoadString(IDS_SELECT_SOURCE));
    return;
  }
  std::string message;
  CQuoteSource(path).Generate(message);
  ShowStatus(message);
}

std::string CGeneratorDlg::EditorDisplayName(const std::string& editorPath) {
  if (editorPath.empty()) return kDefaultEditor;
  const size_t slash = editorPath.rfind(kPathSeparator);
  return slash != std::string::npos && slash > 0 ? editorPath.substr(slash + 1) : editorPath;
}

void CGeneratorDlg::OnCredits() {
  CGeneratorApp* app = GetGeneratorApp();
  CGeneratorAboutDlg about(this);
  CQuoteSource source(app ? app->GetSelectedSource() : "");
  if (source.ReadTitles()) {
    about.m_title = source.GetTitle();
    about.m_subtitle = source.GetSubtitle();
  }
  about.m_editor = EditorDisplayName(m_editor);
  about.DoModal();
}

void CGeneratorDlg::OnChooseEditor() {
  FileDialogRequest request;
  request.title = QString::fromLatin1(kEditorTitle);
  // Programs carry kExeSuffix ("" here): the list shows executable files.
  const std::string pattern = std::string("*") + kExeSuffix;
  request.filter = "Program Files (" + pattern + ")|" + pattern + "|";
  request.defaultExtension = *kExeSuffix ? kExeSuffix + 1 : "";
  request.fileMustExist = true;
  request.executablesOnly = true;
  const auto path = RunFileDialog(this, request);
  if (!path) return;
  m_editor = *path;
  if (CWinApp* app = AfxGetApp()) app->WriteProfileString(kSettings, kEditorEntry, m_editor);
}
