// The About box: the picture, the quotation file in use and where the
// personal notes are stored.
#pragma once

#include "platform/ui/dialog.h"

#include <string>

class CNoteStore;
class CQuoteList;

class CAboutDlg : public CDialog {
  Q_OBJECT
public:
  explicit CAboutDlg(QWidget* parent = nullptr);

  // The three texts from the quotation list and the notes store.
  void Fill(const CQuoteList& quotes, const CNoteStore& notes);

  std::string m_quoteSubtitle;
  std::string m_quoteTitle;
  std::string m_notesLocation;

  bool OnInitDialog() override;
};
