#include "orrery/ui/menu_edit.h"

#include "orrery/res/ui_ids.h"
#include "platform/ui/menu.h"
#include "platform/ui/wnd.h"

#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QPointer>

CMenuEdit::CMenuEdit(QWidget* parent) : CEdit(parent) {}

void CMenuEdit::PrepareMenu(CMenu& menu) {
  setFocus(Qt::PopupFocusReason);
  int start = 0, end = 0;
  GetSel(start, end);
  menu.EnableMenuItem(ID_EDIT_SELECT_ALL, GetWindowTextLength() != 0);
  menu.EnableMenuItem(ID_EDIT_COPY, start != end);
  menu.CheckMenuItem(ID_SHOW_QUOTATIONS, m_quoteCheck);
  menu.SetDefaultItem(ID_EDIT_NOTES);
}

void CMenuEdit::ShowPopupMenu(const QPoint& pos) {
  std::unique_ptr<CMenu> menu = CMenu::Load(m_popupMenu);
  if (!menu) return;
  PrepareMenu(*menu);
  QPointer<CMenuEdit> self = this;
  CMenu::Track(std::move(menu), pos, [self](unsigned id) {
    if (self) self->OnMenuCommand(id);
  });
}

void CMenuEdit::OnMenuCommand(unsigned id) {
  if (id == ID_EDIT_SELECT_ALL) {
    SetSel(0, -1);
  } else if (id == ID_EDIT_COPY) {
    copy();
  } else if (CWndHost* page = CWndHost::FromWidget(this)) {
    page->SendCommand(id);
  }
}

void CMenuEdit::contextMenuEvent(QContextMenuEvent* event) {
  if (m_popupMenu == 0) {
    CEdit::contextMenuEvent(event);
    return;
  }
  ShowPopupMenu(event->globalPos());
}

void CMenuEdit::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    CEdit::mouseDoubleClickEvent(event);
    return;
  }
  event->accept();
  if (CWndHost* page = CWndHost::FromWidget(this)) page->SendCommand(ID_EDIT_NOTES);
}
