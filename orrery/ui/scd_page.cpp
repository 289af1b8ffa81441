#include "orrery/ui/scd_page.h"

#include "platform/strings.h"
#include "platform/ui/help.h"

#include <QWidget>

CScdPage::CScdPage(unsigned templateId, unsigned, QWidget* parent)
    : CPropertyPage(templateId, parent) {}

CScdPage::~CScdPage() {
  if (IsCreated()) AfxWinHelp(0, HELP_QUIT);
}

bool CScdPage::OnInitDialog() {
  CPropertyPage::OnInitDialog();
  const DialogTemplate* t = GetTemplate();
  for (size_t i = 0; t && i < t->count; ++i) {
    const int id = t->controls[i].id;
    if (id < 0) continue;
    const std::string text = LoadString(static_cast<unsigned>(id));
    const size_t newline = text.find('\n');
    if (QWidget* w = GetDlgItem(id); w && newline != std::string::npos)
      w->setToolTip(QString::fromLocal8Bit(text.substr(newline + 1).c_str()));
  }
  return true;
}

bool CScdPage::OnSetActive() {
  // The tab widget shows each page in its display area, so there is no
  // placement to correct here.
  return CPropertyPage::OnSetActive();
}

bool CScdPage::OnCommand(unsigned id) {
  if (id == ID_HELP_FINDER) {
    OnHelpButton();
    return true;
  }
  return CPropertyPage::OnCommand(id);
}

void CScdPage::OnHelpButton() { WinHelp(0, HELP_FINDER); }

void CScdPage::WinHelp(unsigned long data, HelpCommand command) {
  CPropertyPage::WinHelp(data & 0xFFFF, command);
}
