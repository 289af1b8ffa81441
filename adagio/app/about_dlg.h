// The About box: previews the title and subtitle of the selected source as
// Orrery will show them, and names the editor.
#pragma once

#include "platform/ui/dialog.h"

#include <string>

class CGeneratorAboutDlg : public CDialog {
  Q_OBJECT
public:
  explicit CGeneratorAboutDlg(QWidget* parent = nullptr);

  std::string m_subtitle;
  std::string m_editor;
  std::string m_title;

  bool OnInitDialog() override;
  // Help topics are numbered by their window's template.
  void WinHelp(unsigned long data, HelpCommand command) override;
};
