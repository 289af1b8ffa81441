#include "platform/ui/menu.h"

#include "platform/ui/resources.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QTimer>

CMenu::CMenu() : m_menu(new QMenu) {}

CMenu::~CMenu() {
  if (m_menu) m_menu->deleteLater();
}

std::unique_ptr<CMenu> CMenu::Load(unsigned id) {
  const MenuTemplate* t = FindMenuTemplate(id);
  if (!t) return nullptr;
  auto menu = std::make_unique<CMenu>();
  for (size_t i = 0; i < t->count; ++i)
    menu->AppendMenu(t->items[i].id, QString::fromLatin1(t->items[i].text));
  return menu;
}

static QAction* MakeAction(QMenu* menu, unsigned id, const QString& text) {
  auto* action = new QAction(text, menu);
  if (id == 0)
    action->setSeparator(true);
  else
    action->setData(id);
  return action;
}

void CMenu::AppendMenu(unsigned id, const QString& text) {
  m_menu->addAction(MakeAction(m_menu, id, text));
}

bool CMenu::InsertMenu(unsigned beforeId, unsigned id, const QString& text) {
  QAction* before = Find(beforeId);
  if (!before) return false;
  m_menu->insertAction(before, MakeAction(m_menu, id, text));
  return true;
}

bool CMenu::DeleteMenu(unsigned id) {
  QAction* action = Find(id);
  if (!action) return false;
  m_menu->removeAction(action);
  delete action;
  return true;
}

int CMenu::GetMenuItemCount() const { return static_cast<int>(m_menu->actions().size()); }

unsigned CMenu::GetMenuItemID(int pos) const {
  const auto actions = m_menu->actions();
  if (pos < 0 || pos >= actions.size()) return 0;
  return actions[pos]->isSeparator() ? 0 : actions[pos]->data().toUInt();
}

QString CMenu::GetMenuString(int pos) const {
  const auto actions = m_menu->actions();
  if (pos < 0 || pos >= actions.size()) return {};
  return actions[pos]->text();
}

QAction* CMenu::Find(unsigned id) const {
  if (id == 0) return nullptr;
  for (QAction* a : m_menu->actions())
    if (!a->isSeparator() && a->data().toUInt() == id) return a;
  return nullptr;
}

bool CMenu::EnableMenuItem(unsigned id, bool enable) {
  QAction* a = Find(id);
  if (a) a->setEnabled(enable);
  return a != nullptr;
}

bool CMenu::IsEnabled(unsigned id) const {
  QAction* a = Find(id);
  return a && a->isEnabled();
}

bool CMenu::CheckMenuItem(unsigned id, bool check) {
  QAction* a = Find(id);
  if (!a) return false;
  a->setCheckable(check);
  a->setChecked(check);
  return true;
}

bool CMenu::IsChecked(unsigned id) const {
  QAction* a = Find(id);
  return a && a->isChecked();
}

bool CMenu::SetDefaultItem(unsigned id) {
  QAction* a = Find(id);
  if (!a) return false;
  for (QAction* other : m_menu->actions()) {
    QFont f = other->font();
    f.setBold(other == a);
    other->setFont(f);
  }
  m_menu->setDefaultAction(a);
  m_default = id;
  return true;
}

void CMenu::Popup(const QPoint& pos, std::function<void(unsigned)> onCommand) {
  QObject::disconnect(m_menu, &QMenu::triggered, nullptr, nullptr);
  QObject::connect(m_menu, &QMenu::triggered, m_menu, [onCommand](QAction* a) {
    if (onCommand && !a->isSeparator()) onCommand(a->data().toUInt());
  });
  m_menu->popup(pos);
}

void CMenu::Track(std::unique_ptr<CMenu> menu, const QPoint& pos,
                  std::function<void(unsigned)> onCommand) {
  if (!menu) return;
  CMenu* raw = menu.release();
  // Deferred deletion waits for the event loop level the menu ran in, so a
  // command that opens a modal dialog still finds its menu alive.
  QObject::connect(raw->m_menu, &QMenu::aboutToHide, raw->m_menu, &QObject::deleteLater);
  QObject::connect(raw->m_menu, &QObject::destroyed, [raw] {
    raw->m_menu = nullptr;
    delete raw;
  });
  // The command runs once the menu's own event handling has returned: a
  // command that opens a modal dialog from a key press in the menu would
  // otherwise return into a menu that was torn down meanwhile.
  raw->Popup(pos, [onCommand = std::move(onCommand)](unsigned id) {
    QTimer::singleShot(0, QCoreApplication::instance(), [onCommand, id] {
      if (onCommand) onCommand(id);
    });
  });
}
