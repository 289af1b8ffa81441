// A popup menu whose items carry command identifiers, built from a menu
// resource or by hand (the system menu).
#pragma once

#include <QPoint>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>

class QAction;
class QMenu;
class QWidget;

class CMenu {
public:
  CMenu();
  ~CMenu();
  CMenu(const CMenu&) = delete;
  CMenu& operator=(const CMenu&) = delete;

  // The first submenu of menu resource id; null when there is none.
  static std::unique_ptr<CMenu> Load(unsigned id);

  void AppendMenu(unsigned id, const QString& text);  // id 0: separator
  void AppendSeparator() { AppendMenu(0, {}); }
  // Inserts before the item with command beforeId; false when there is none.
  bool InsertMenu(unsigned beforeId, unsigned id, const QString& text);
  bool DeleteMenu(unsigned id);

  int GetMenuItemCount() const;
  // Command of the item at pos; 0 for a separator.
  unsigned GetMenuItemID(int pos) const;
  QString GetMenuString(int pos) const;

  bool EnableMenuItem(unsigned id, bool enable);
  bool IsEnabled(unsigned id) const;
  bool CheckMenuItem(unsigned id, bool check);
  bool IsChecked(unsigned id) const;
  // The default item shows in bold.
  bool SetDefaultItem(unsigned id);
  unsigned GetDefaultItem() const { return m_default; }

  // Shows the menu at a screen position without blocking; a chosen item
  // calls onCommand with its identifier. The menu object must stay alive
  // until the popup closes: use Track for a menu that lives on its own.
  void Popup(const QPoint& pos, std::function<void(unsigned)> onCommand);
  // Takes ownership of the menu, shows it, and deletes it when it closes.
  static void Track(std::unique_ptr<CMenu> menu, const QPoint& pos,
                    std::function<void(unsigned)> onCommand);

  QMenu* GetQMenu() const { return m_menu; }

private:
  QAction* Find(unsigned id) const;
  QMenu* m_menu;
  unsigned m_default = 0;
};
