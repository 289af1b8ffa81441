// The read-only report view: a multi-line edit whose right-click shows a
// program menu and whose double-click asks the page to edit notes.
#pragma once

#include "platform/ui/edit.h"

class CMenu;

class CMenuEdit : public CEdit {
  Q_OBJECT
public:
  explicit CMenuEdit(QWidget* parent = nullptr);

  // 0: the edit control's own menu; otherwise the menu resource to show.
  void SetPopupMenu(unsigned id) { m_popupMenu = id; }
  unsigned GetPopupMenu() const { return m_popupMenu; }
  void SetQuoteCheck(bool check) { m_quoteCheck = check; }
  bool GetQuoteCheck() const { return m_quoteCheck; }

  // Greys Copy without a selection and Select All without text, checks
  // Show Quotations, makes Edit Notes the default item.
  void PrepareMenu(CMenu& menu);
  // Shows the popup menu at a screen position.
  void ShowPopupMenu(const QPoint& pos);
  // Copy and Select All here; every other command goes to the page.
  void OnMenuCommand(unsigned id);

protected:
  void contextMenuEvent(QContextMenuEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
  unsigned m_popupMenu = 0;
  bool m_quoteCheck = false;
};
