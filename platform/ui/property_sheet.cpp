#include "platform/ui/property_sheet.h"

#include "platform/ui/help.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QKeySequence>
#include <QShortcut>
#include <QTabWidget>
#include <QTimer>
#include <QTimerEvent>
#include <QToolButton>

namespace {
const int kMargin = 6;
const int kCaptionButton = 22;
}  // namespace

// ---- CPropertyPage

CPropertyPage::CPropertyPage(unsigned templateId, QWidget* parent)
    : QWidget(parent), CWndHost(this), m_templateId(templateId) {}

CPropertyPage::~CPropertyPage() {
  if (m_sheet) m_sheet->RemovePage(this);
}

bool CPropertyPage::CreatePage() {
  if (m_created) return true;
  if (!CreateControls(m_templateId)) return false;
  m_created = true;
  OnInitDialog();
  return true;
}

QString CPropertyPage::GetCaption() const {
  const DialogTemplate* t = FindDialogTemplate(m_templateId);
  return t ? QString::fromLatin1(t->caption) : QString();
}

QSize CPropertyPage::sizeHint() const {
  if (m_created) return GetTemplateSize();
  const DialogTemplate* t = FindDialogTemplate(m_templateId);
  if (!t) return QWidget::sizeHint();
  const QSize base = DialogBaseUnits(MakeFaceFont(t->face, t->pointSize));
  return DialogUnitsToPixels(base, 0, 0, t->cx, t->cy).size();
}

bool CPropertyPage::OnInitDialog() {
  UpdateData(false);
  return true;
}

bool CPropertyPage::OnSetActive() {
  if (m_activated) UpdateData(false);
  m_activated = true;
  return true;
}

bool CPropertyPage::OnKillActive() { return UpdateData(true); }
void CPropertyPage::OnCancel() {}
void CPropertyPage::OnDestroy() {}

void CPropertyPage::DestroyPage() {
  if (!m_created || m_destroyed) return;
  m_destroyed = true;
  OnDestroy();
}

bool CPropertyPage::OnCommand(unsigned id) {
  if (id == IDCANCEL) {
    OnCancel();
    return true;
  }
  return false;
}

void CPropertyPage::contextMenuEvent(QContextMenuEvent* event) {
  if (!OnContextMenu(childAt(event->pos()), event->globalPos())) event->ignore();
}

void CPropertyPage::timerEvent(QTimerEvent* event) {
  if (!DispatchTimer(event)) QWidget::timerEvent(event);
}

// ---- CPropertySheet

CPropertySheet::CPropertySheet(const QString& caption, QWidget* parent)
    : QWidget(parent, Qt::Window), CWndHost(this), m_tabs(new QTabWidget(this)),
      m_iconButton(new QToolButton(this)), m_helpButton(new QToolButton(this)) {
  setWindowTitle(caption);
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                 Qt::MSWindowsFixedSizeDialogHint);
  m_systemMenu.AppendMenu(SC_RESTORE, QStringLiteral("&Restore"));
  m_systemMenu.AppendMenu(SC_MOVE, QStringLiteral("&Move"));
  m_systemMenu.AppendMenu(SC_SIZE, QStringLiteral("&Size"));
  m_systemMenu.AppendMenu(SC_MINIMIZE, QStringLiteral("Mi&nimize"));
  m_systemMenu.AppendMenu(SC_MAXIMIZE, QStringLiteral("Ma&ximize"));
  m_systemMenu.AppendSeparator();
  m_systemMenu.AppendMenu(SC_CLOSE, QStringLiteral("&Close\tAlt+F4"));

  m_iconButton->setAutoRaise(true);
  m_iconButton->setFocusPolicy(Qt::NoFocus);
  m_iconButton->setToolTip(QStringLiteral("System menu (Alt+Space)"));
  m_iconButton->hide();
  connect(m_iconButton, &QToolButton::clicked, this, [this] { ShowSystemMenu(); });
  m_helpButton->setText(QStringLiteral("?"));
  m_helpButton->setAutoRaise(true);
  m_helpButton->setFocusPolicy(Qt::NoFocus);
  m_helpButton->setToolTip(QStringLiteral("What's This? (Shift+F1)"));
  m_helpButton->hide();
  connect(m_helpButton, &QToolButton::clicked, this, [this] { OnSysCommand(SC_CONTEXTHELP); });
  auto* menuKey = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_Space), this);
  menuKey->setContext(Qt::WindowShortcut);
  connect(menuKey, &QShortcut::activated, this, [this] { ShowSystemMenu(); });
}

CPropertySheet::~CPropertySheet() {
  // Pages still here are owned elsewhere and outlive the sheet: take them
  // off the tab control before it goes.
  while (!m_pages.empty()) RemovePage(m_pages.back());
}

void CPropertySheet::AddPage(CPropertyPage* page) {
  page->m_sheet = this;
  m_pages.push_back(page);
}

bool CPropertySheet::Create() {
  for (CPropertyPage* page : m_pages) m_tabs->addTab(page, page->GetCaption());
  m_tabs->adjustSize();
  m_tabs->move(kMargin, kMargin);
  setFixedSize(m_tabs->width() + 2 * kMargin, m_tabs->height() + 2 * kMargin);
  if (!OnCreate()) return false;
  if (!m_pages.empty()) {
    m_pages[0]->CreatePage();
    m_active = 0;
    m_pages[0]->OnSetActive();
  }
  connect(m_tabs, &QTabWidget::currentChanged, this, [this](int index) { Activate(index); });
  return OnInitDialog();
}

void CPropertySheet::RemovePage(CPropertyPage* page) {
  const int index = GetPageIndex(page);
  if (index < 0) return;
  {
    const QSignalBlocker block(m_tabs);
    m_tabs->removeTab(index);
  }
  page->setParent(nullptr);
  page->m_sheet = nullptr;
  m_pages.erase(m_pages.begin() + index);
  if (m_active == index)
    m_active = -1;
  else if (m_active > index)
    --m_active;
}

CPropertyPage* CPropertySheet::GetPage(int index) const {
  return index >= 0 && index < GetPageCount() ? m_pages[static_cast<size_t>(index)] : nullptr;
}

int CPropertySheet::GetPageIndex(const CPropertyPage* page) const {
  for (int i = 0; i < GetPageCount(); ++i)
    if (m_pages[static_cast<size_t>(i)] == page) return i;
  return -1;
}

CPropertyPage* CPropertySheet::GetActivePage() const { return GetPage(m_active); }
int CPropertySheet::GetActiveIndex() const { return m_active; }

bool CPropertySheet::SetActivePage(int index) {
  if (!GetPage(index)) return false;
  m_tabs->setCurrentIndex(index);
  return m_active == index;
}

void CPropertySheet::Activate(int index) {
  if (index == m_active || !GetPage(index)) return;
  CPropertyPage* old = GetPage(m_active);
  if (old && !old->OnKillActive()) {
    QSignalBlocker block(m_tabs);
    m_tabs->setCurrentIndex(m_active);
    return;
  }
  CPropertyPage* page = GetPage(index);
  page->CreatePage();
  m_active = index;
  page->OnSetActive();
}

void CPropertySheet::UpdateSystemMenu() {
  const bool minimized = isMinimized(), maximized = isMaximized();
  const bool fixed = minimumSize() == maximumSize();
  m_systemMenu.EnableMenuItem(SC_RESTORE, minimized || maximized);
  m_systemMenu.EnableMenuItem(SC_MOVE, !minimized && !maximized);
  m_systemMenu.EnableMenuItem(SC_SIZE, !minimized && !maximized && !fixed);
  m_systemMenu.EnableMenuItem(SC_MINIMIZE, !minimized);
  m_systemMenu.EnableMenuItem(SC_MAXIMIZE, !maximized && !fixed);
}

void CPropertySheet::ShowSystemMenu() {
  UpdateSystemMenu();
  const QPoint pos = m_iconButton->isVisible()
                         ? m_iconButton->mapToGlobal(QPoint(0, m_iconButton->height()))
                         : mapToGlobal(QPoint(0, 0));
  m_systemMenu.Popup(pos, [this](unsigned id) { OnSysCommand(id); });
}

void CPropertySheet::SetCaptionBand(const QRect& band) {
  const int y = band.top() + (band.height() - kCaptionButton) / 2;
  m_iconButton->setGeometry(band.left(), y, kCaptionButton, kCaptionButton);
  m_iconButton->setIcon(windowIcon());
  m_iconButton->show();
  m_helpButton->setGeometry(band.right() - kCaptionButton + 1, y, kCaptionButton, kCaptionButton);
}

void CPropertySheet::SetContextHelpButton(bool on) { m_helpButton->setVisible(on); }
bool CPropertySheet::HasContextHelpButton() const { return !m_helpButton->isHidden(); }

bool CPropertySheet::OnCreate() { return true; }
bool CPropertySheet::OnInitDialog() { return true; }
void CPropertySheet::OnDestroy() {}
void CPropertySheet::PostNcDestroy() {}

void CPropertySheet::closeEvent(QCloseEvent* event) {
  event->accept();
  if (m_destroyed) return;
  m_destroyed = true;
  OnDestroy();
  for (CPropertyPage* page : m_pages) page->DestroyPage();
  QTimer::singleShot(0, this, [this] { PostNcDestroy(); });
}

void CPropertySheet::contextMenuEvent(QContextMenuEvent* event) {
  if (!OnContextMenu(childAt(event->pos()), event->globalPos())) event->ignore();
}

void CPropertySheet::timerEvent(QTimerEvent* event) {
  if (!DispatchTimer(event)) QWidget::timerEvent(event);
}

void CPropertySheet::changeEvent(QEvent* event) {
  if (event->type() == QEvent::WindowIconChange) m_iconButton->setIcon(windowIcon());
  QWidget::changeEvent(event);
}
