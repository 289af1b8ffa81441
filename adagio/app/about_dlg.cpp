#include "adagio/app/about_dlg.h"

#include "adagio/res/ui_ids.h"
#include "platform/ui/text.h"

CGeneratorAboutDlg::CGeneratorAboutDlg(QWidget* parent) : CDialog(IDD_ABOUTBOX, parent) {}

bool CGeneratorAboutDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  SetDlgItemText(IDC_ABOUT_SUBTITLE, FromCrLf(m_subtitle));
  SetDlgItemText(IDC_ABOUT_EDITOR, FromCrLf(m_editor));
  SetDlgItemText(IDC_ABOUT_TITLE, FromCrLf(m_title));
  return true;
}

void CGeneratorAboutDlg::WinHelp(unsigned long data, HelpCommand command) {
  CDialog::WinHelp(command == HELP_CONTEXT ? data & 0xFFFF : data, command);
}
