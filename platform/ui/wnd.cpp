#include "platform/ui/wnd.h"

#include "platform/ui/ddx.h"
#include "platform/ui/edit.h"
#include "platform/ui/help.h"
#include "platform/ui/list_controls.h"
#include "platform/ui/menu.h"
#include "platform/ui/spin_button.h"
#include "platform/ui/text.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTextDocument>
#include <QTimerEvent>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <vector>

namespace {
const char kHostProperty[] = "lumenHost";
const char kControlProperty[] = "lumenControlId";

// The radio buttons first..last that exist, in identifier order.
std::vector<QRadioButton*> RadioRange(const CWndHost& host, int first, int last) {
  std::vector<QRadioButton*> buttons;
  for (int id = first; id <= last; ++id)
    if (auto* b = qobject_cast<QRadioButton*>(host.GetDlgItem(id))) buttons.push_back(b);
  return buttons;
}
}  // namespace

CWndHost::CWndHost(QWidget* self) : m_self(self) {
  m_self->setProperty(kHostProperty, QVariant::fromValue(reinterpret_cast<quintptr>(this)));
  InstallContextHelpFilter();
}

CWndHost::~CWndHost() {
  if (m_self) m_self->setProperty(kHostProperty, QVariant());
}

CWndHost* CWndHost::FromWidget(const QWidget* w) {
  for (; w; w = w->parentWidget()) {
    const QVariant v = w->property(kHostProperty);
    if (v.isValid()) return reinterpret_cast<CWndHost*>(v.value<quintptr>());
  }
  return nullptr;
}

int CWndHost::ControlIdOf(const QWidget* w) {
  for (; w; w = w->parentWidget()) {
    if (w->property(kHostProperty).isValid()) return 0;
    const QVariant v = w->property(kControlProperty);
    if (v.isValid()) return v.toInt();
  }
  return 0;
}

QWidget* CWndHost::GetDlgItem(int id) const {
  const auto it = m_controls.find(id);
  return it == m_controls.end() ? nullptr : it->second;
}

QString CWndHost::GetDlgItemText(int id) const {
  QWidget* w = GetDlgItem(id);
  if (auto* e = qobject_cast<QPlainTextEdit*>(w)) return DocumentText(*e->document());
  if (auto* e = qobject_cast<QLineEdit*>(w)) return e->text();
  if (auto* c = qobject_cast<QComboBox*>(w)) return c->currentText();
  if (auto* l = qobject_cast<QLabel*>(w)) return l->text();
  if (auto* b = qobject_cast<QAbstractButton*>(w)) return b->text();
  if (auto* g = qobject_cast<QGroupBox*>(w)) return g->title();
  return {};
}

void CWndHost::SetDlgItemText(int id, const QString& text) {
  QWidget* w = GetDlgItem(id);
  if (auto* e = qobject_cast<QPlainTextEdit*>(w)) {
    e->setPlainText(text);
  } else if (auto* e = qobject_cast<QLineEdit*>(w)) {
    e->setText(text);
  } else if (auto* l = qobject_cast<QLabel*>(w)) {
    l->setText(text);
  } else if (auto* b = qobject_cast<QAbstractButton*>(w)) {
    b->setText(text);
  } else if (auto* g = qobject_cast<QGroupBox*>(w)) {
    g->setTitle(text);
  }
}

int CWndHost::GetDlgItemInt(int id, bool* ok) const {
  bool parsed = false;
  const int value = GetDlgItemText(id).trimmed().toInt(&parsed);
  if (ok) *ok = parsed;
  return parsed ? value : 0;
}

void CWndHost::SetDlgItemInt(int id, int value) { SetDlgItemText(id, QString::number(value)); }

bool CWndHost::IsDlgButtonChecked(int id) const {
  auto* b = qobject_cast<QAbstractButton*>(GetDlgItem(id));
  return b && b->isChecked();
}

void CWndHost::CheckDlgButton(int id, bool check) {
  if (auto* b = qobject_cast<QAbstractButton*>(GetDlgItem(id))) b->setChecked(check);
}

void CWndHost::CheckRadioButton(int firstId, int lastId, int checkId) {
  for (QRadioButton* b : RadioRange(*this, firstId, lastId)) {
    QButtonGroup* group = b->group();
    const bool exclusive = group && group->exclusive();
    // An exclusive group keeps one button checked unless told otherwise.
    if (exclusive) group->setExclusive(false);
    b->setChecked(ControlIdOf(b) == checkId);
    if (exclusive) group->setExclusive(true);
  }
}

int CWndHost::GetCheckedRadioButton(int firstId, int lastId) const {
  for (QRadioButton* b : RadioRange(*this, firstId, lastId))
    if (b->isChecked()) return ControlIdOf(b);
  return 0;
}

void CWndHost::EnableDlgItem(int id, bool enable) {
  if (QWidget* w = GetDlgItem(id)) w->setEnabled(enable);
}

QSize CWndHost::GetTemplateSize() const {
  if (!m_template) return {};
  return DialogUnitsToPixels(m_base, 0, 0, m_template->cx, m_template->cy).size();
}

const QFont& CWndHost::GetDialogFont() const { return m_self->font(); }

bool CWndHost::CreateControls(unsigned templateId) {
  if (m_template) return true;
  const DialogTemplate* t = FindDialogTemplate(templateId);
  if (!t) return false;
  m_template = t;
  m_self->setFont(MakeFaceFont(t->face, t->pointSize));
  m_base = DialogBaseUnits(m_self->font());
  QWidget* previous = nullptr;
  QButtonGroup* radios = nullptr;
  for (size_t i = 0; i < t->count; ++i) {
    const ControlTemplate& c = t->controls[i];
    QWidget* w = CreateControl(c, m_self);
    if (!w) continue;
    // Radio buttons exclude each other up to the next control that starts
    // a group.
    if (c.style & kGroup) radios = nullptr;
    if (auto* radio = qobject_cast<QRadioButton*>(w)) {
      if (!radios) radios = new QButtonGroup(m_self);
      radios->addButton(radio);
    }
    w->setGeometry(DialogUnitsToPixels(m_base, c.x, c.y, c.cx, c.cy));
    // A group box lies beneath the controls it frames, wherever the template
    // lists it.
    if (c.kind == ControlKind::GroupBox) w->lower();
    // A drop-down list's height in the template is that of the box with its
    // list dropped; the box itself is as high as its font needs.
    if (auto* combo = qobject_cast<QComboBox*>(w)) {
      const int box = combo->sizeHint().height();
      const int item = combo->fontMetrics().height() + 2;
      combo->setMaxVisibleItems(std::max(1, (w->height() - box) / std::max(1, item)));
      combo->resize(w->width(), box);
    }
    if (auto* picture = qobject_cast<QLabel*>(w); picture && c.kind == ControlKind::Picture &&
                                                  !(c.style & kCentre) && !picture->pixmap().isNull())
      picture->resize(picture->pixmap().size());
    if (c.kind == ControlKind::UpDown && (c.style & kAutoBuddy))
      static_cast<CSpinButton*>(w)->SetBuddy(qobject_cast<QLineEdit*>(previous));
    // Explicitly, since a page's controls may be made after it is shown.
    w->setVisible(!(c.style & kHidden));
    if (c.id >= 0) {
      w->setProperty(kControlProperty, c.id);
      m_controls[c.id] = w;
    }
    previous = w;
  }
  return true;
}

QWidget* CWndHost::CreateControl(const ControlTemplate& c, QWidget* parent) {
  const QString text = QString::fromLatin1(c.text ? c.text : "");
  const unsigned id = c.id >= 0 ? static_cast<unsigned>(c.id) : 0;
  QPointer<QWidget> self = m_self;
  auto send = [this, self, id] {
    if (self && id) SendCommand(id);
  };
  switch (c.kind) {
    case ControlKind::Static:
    case ControlKind::Picture: {
      auto* label = new QLabel(parent);
      label->setTextFormat(Qt::PlainText);
      if (c.kind == ControlKind::Picture)
        label->setPixmap(LoadBitmap(c.resource));
      else {
        label->setText(text);
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
      }
      if (c.style & kCentre) label->setAlignment(Qt::AlignCenter);
      if (c.style & kSunken) label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
      if (c.style & kBorder) label->setFrameStyle(QFrame::Box | QFrame::Plain);
      return label;
    }
    case ControlKind::GroupBox:
      return new QGroupBox(text, parent);
    case ControlKind::Edit: {
      if (!(c.style & kMultiLine)) {
        auto* line = new QLineEdit(text, parent);
        line->setReadOnly(c.style & kReadOnly);
        line->setFrame(c.style & kBorder);
        return line;
      }
      auto* edit = new CEdit(parent);
      ConfigureEdit(edit, c);
      return edit;
    }
    case ControlKind::PushButton: {
      auto* button = new QPushButton(text, parent);
      button->setDefault(c.style & kDefault);
      QObject::connect(button, &QPushButton::clicked, button, send);
      return button;
    }
    case ControlKind::CheckBox: {
      auto* box = new QCheckBox(text, parent);
      QObject::connect(box, &QCheckBox::clicked, box, send);
      return box;
    }
    case ControlKind::UpDown:
      return new CSpinButton(parent);
    case ControlKind::RadioButton: {
      auto* radio = new QRadioButton(text, parent);
      radio->setAutoExclusive(false);  // its group excludes
      QObject::connect(radio, &QRadioButton::clicked, radio, send);
      return radio;
    }
    case ControlKind::ListBox: {
      auto* list = new CListBox(parent, c.style & kSort);
      if (c.style & kNotify) {
        QObject::connect(list, &CListBox::selectionChangedByUser, list, [this, self, id] {
          if (self) OnControlNotify(static_cast<int>(id), LBN_SELCHANGE);
        });
        QObject::connect(list, &CListBox::itemDoubleClickedByUser, list, [this, self, id] {
          if (self) OnControlNotify(static_cast<int>(id), LBN_DBLCLK);
        });
      }
      list->setVerticalScrollBarPolicy((c.style & kVScroll) ? Qt::ScrollBarAsNeeded
                                                            : Qt::ScrollBarAlwaysOff);
      return list;
    }
    case ControlKind::ComboBox: {
      auto* combo = new CComboBox(parent, c.style & kSort);
      QObject::connect(combo, &CComboBox::selectionChangedByUser, combo, [this, self, id] {
        if (self) OnControlNotify(static_cast<int>(id), CBN_SELCHANGE);
      });
      return combo;
    }
    case ControlKind::Custom:
      return new QWidget(parent);
  }
  return nullptr;
}

void CWndHost::ConfigureEdit(CEdit* edit, const ControlTemplate& c) {
  edit->setReadOnly(c.style & kReadOnly);
  edit->setTabChangesFocus(true);
  edit->setVerticalScrollBarPolicy((c.style & kVScroll) ? Qt::ScrollBarAlwaysOn
                                                        : Qt::ScrollBarAlwaysOff);
  if (!(c.style & kBorder)) edit->setFrameStyle(QFrame::NoFrame);
  edit->SetKeepSelection(c.style & kNoHideSel);
  if (c.style & kReadOnly)
    edit->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
}

bool CWndHost::SendCommand(unsigned id) {
  for (CWndHost* host = this; host; host = FromWidget(host->m_self->parentWidget()))
    if (host->OnCommand(id)) return true;
  if (id != ID_HELP) return false;
  // Help on the current context: the topic of the nearest templated window.
  for (CWndHost* host = this; host; host = FromWidget(host->m_self->parentWidget())) {
    if (host->m_template) {
      host->WinHelp(0x20000 + host->m_template->id, HELP_CONTEXT);
      return true;
    }
  }
  WinHelp(0, HELP_FINDER);
  return true;
}

bool CWndHost::OnCommand(unsigned) { return false; }

bool CWndHost::OnControlNotify(int, unsigned) { return false; }

bool CWndHost::UpdateData(bool saveAndValidate) {
  CDataExchange dx(this, saveAndValidate);
  try {
    DoDataExchange(&dx);
  } catch (const CDataExchange::Failure&) {
    return false;
  }
  return true;
}

void CWndHost::DoDataExchange(CDataExchange*) {}

void CWndHost::OnSysCommand(unsigned id) {
  QWidget* top = m_self->window();
  switch (id & 0xFFF0) {
    case SC_CONTEXTHELP:
      EnterWhatsThisMode();
      break;
    case SC_CLOSE:
      top->close();
      break;
    case SC_MINIMIZE:
      top->showMinimized();
      break;
    case SC_MAXIMIZE:
      top->showMaximized();
      break;
    case SC_RESTORE:
      top->showNormal();
      break;
    case SC_MOVE:
      if (top->windowHandle()) top->windowHandle()->startSystemMove();
      break;
    case SC_SIZE:
      if (top->windowHandle()) top->windowHandle()->startSystemResize(Qt::BottomEdge | Qt::RightEdge);
      break;
    default:
      break;
  }
}

bool CWndHost::OnContextMenu(QWidget*, const QPoint&) { return false; }

void CWndHost::OnInitMenuPopup(CMenu&) {}

void CWndHost::TrackPopupMenu(unsigned menuId, const QPoint& pos) {
  std::unique_ptr<CMenu> menu = CMenu::Load(menuId);
  if (!menu) return;
  OnInitMenuPopup(*menu);
  QPointer<QWidget> self = m_self;
  CMenu::Track(std::move(menu), pos, [this, self](unsigned id) {
    if (self) SendCommand(id);
  });
}

bool CWndHost::OnHelpInfo(int controlId) {
  if (IsHelpMode()) {
    AfxWinHelp(0x10000 + static_cast<unsigned long>(controlId), HELP_CONTEXTPOPUP,
               GetDlgItem(controlId));
    return true;
  }
  WinHelp(0x20000 + (m_template ? m_template->id : 0), HELP_CONTEXT);
  return true;
}

void CWndHost::WinHelp(unsigned long data, HelpCommand command) {
  AfxWinHelp(data, command, m_self);
}

bool CWndHost::SetTimer(unsigned id, int milliseconds) {
  KillTimer(id);
  const int qtId = m_self->startTimer(milliseconds);
  if (qtId == 0) return false;
  m_timers[id] = qtId;
  return true;
}

bool CWndHost::KillTimer(unsigned id) {
  const auto it = m_timers.find(id);
  if (it == m_timers.end()) return false;
  m_self->killTimer(it->second);
  m_timers.erase(it);
  return true;
}

void CWndHost::OnTimer(unsigned) {}

bool CWndHost::DispatchTimer(QTimerEvent* event) {
  for (const auto& [id, qtId] : m_timers) {
    if (qtId == event->timerId()) {
      OnTimer(id);
      return true;
    }
  }
  return false;
}
