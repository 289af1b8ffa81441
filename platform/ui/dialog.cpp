#include "platform/ui/dialog.h"

#include <QContextMenuEvent>
#include <QTimerEvent>

CDialog::CDialog(unsigned templateId, QWidget* parent)
    : QDialog(parent), CWndHost(this), m_templateId(templateId) {
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
}

bool CDialog::Create() {
  if (m_initialised) return true;
  if (!CreateControls(m_templateId)) return false;
  m_initialised = true;
  setWindowTitle(QString::fromLatin1(GetTemplate()->caption));
  if (GetTemplate()->style & kDlgContextHelp) EnableContextHelpButton();
  setFixedSize(GetTemplateSize());
  OnInitDialog();
  return true;
}

int CDialog::DoModal() {
  if (!Create()) return -1;
  return exec();
}

void CDialog::EnableContextHelpButton() {
  setWindowFlag(Qt::WindowContextHelpButtonHint, true);
}

bool CDialog::OnInitDialog() {
  UpdateData(false);
  return true;
}

void CDialog::OnOK() {
  if (UpdateData(true)) EndDialog(IDOK);
}
void CDialog::OnCancel() { EndDialog(IDCANCEL); }

bool CDialog::OnCommand(unsigned id) {
  if (id == IDOK) {
    OnOK();
    return true;
  }
  if (id == IDCANCEL) {
    OnCancel();
    return true;
  }
  return false;
}

void CDialog::contextMenuEvent(QContextMenuEvent* event) {
  if (!OnContextMenu(childAt(event->pos()), event->globalPos())) event->ignore();
}

void CDialog::timerEvent(QTimerEvent* event) {
  if (!DispatchTimer(event)) QDialog::timerEvent(event);
}
