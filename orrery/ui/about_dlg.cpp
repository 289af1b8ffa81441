#include "orrery/ui/about_dlg.h"

#include "orrery/notes/note_store.h"
#include "orrery/quotes/quote_list.h"
#include "orrery/res/resource.h"
#include "orrery/res/ui_ids.h"
#include "platform/strings.h"
#include "platform/ui/text.h"

CAboutDlg::CAboutDlg(QWidget* parent) : CDialog(IDD_ABOUTBOX, parent) {}

void CAboutDlg::Fill(const CQuoteList& quotes, const CNoteStore& notes) {
  m_quoteTitle = quotes.GetCurrentTitle();
  m_quoteSubtitle =
      quotes.GetCurrent() != 0 ? quotes.GetCurrentSubtitle() : LoadString(IDS_NO_DAILY_QUOTES);
  m_notesLocation = notes.GetDirectory();
}

bool CAboutDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  SetDlgItemText(IDC_QUOTE_SUBTITLE, FromCrLf(m_quoteSubtitle));
  SetDlgItemText(IDC_QUOTE_TITLE, FromCrLf(m_quoteTitle));
  SetDlgItemText(IDC_NOTES_LOCATION, FromCrLf(m_notesLocation));
  return true;
}
