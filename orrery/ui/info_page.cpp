#include "orrery/ui/info_page.h"

#include "orrery/res/resource.h"
#include "orrery/res/ui_ids.h"
#include "platform/strings.h"
#include "platform/ui/text.h"

#include <QApplication>

CInfoPage::CInfoPage(QWidget* parent) : CScdPage(IDD_INFO, 0, parent) {}

bool CInfoPage::OnInitDialog() {
  CScdPage::OnInitDialog();
  if (QWidget* text = GetDlgItem(IDC_INFO_TEXT)) {
    text->setFont(MakeFaceFont("MS Sans Serif", QApplication::font().pointSize(), 0, 700));
    SetDlgItemText(IDC_INFO_TEXT, FromCrLf(LoadString(IDS_INFO_TEXT)));
  }
  return true;
}

bool CInfoPage::OnCommand(unsigned id) {
  if (id == static_cast<unsigned>(IDC_MORE_INFO)) {
    WinHelp(2, HELP_CONTEXT);
    return true;
  }
  return CScdPage::OnCommand(id);
}
