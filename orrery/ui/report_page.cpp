#include "orrery/ui/report_page.h"

#include "orrery/notes/note_store.h"
#include "orrery/report/report_doc.h"
#include "orrery/res/ui_ids.h"
#include "orrery/ui/menu_edit.h"
#include "orrery/ui/note_dlg.h"
#include "platform/datetime.h"

namespace {
// Where the most recently appended Sun and Moon section begins in the view.
int g_lastBlock = 0;
}  // namespace

int CReportPage::GetLastBlockPosition() { return g_lastBlock; }
void CReportPage::SetLastBlockPositionForTesting(int position) { g_lastBlock = position; }

CReportPage::CReportPage(QWidget* parent) : CScdPage(IDD_REPORT, 0, parent) {}

CMenuEdit* CReportPage::GetView() const {
  return qobject_cast<CMenuEdit*>(GetDlgItem(IDC_REPORT_VIEW));
}

QWidget* CReportPage::CreateControl(const ControlTemplate& control, QWidget* parent) {
  if (control.id != IDC_REPORT_VIEW) return CScdPage::CreateControl(control, parent);
  auto* view = new CMenuEdit(parent);
  ConfigureEdit(view, control);
  return view;
}

bool CReportPage::OnInitDialog() {
  CScdPage::OnInitDialog();
  CPropertySheet* sheet = GetParentSheet();
  if (sheet && sheet->GetPageIndex(this) == 0) sheet->SetContextHelpButton(true);
  if (CMenuEdit* view = GetView()) view->SetPopupMenu(IDR_REPORT_MENU);
  return true;
}

bool CReportPage::OnSetActive() {
  if (m_doc) Refresh();
  return CScdPage::OnSetActive();
}

void CReportPage::Refresh() {
  CMenuEdit* view = GetView();
  if (!m_doc || !view) return;
  int n = view->GetWindowTextLength();
  view->SetSel(n, n);
  if (n == 0) view->ReplaceSel(m_doc->Compose());
  if (m_doc->NeedsRebuild()) {
    view->SetWindowText("");
    view->ReplaceSel(m_doc->Compose());
  }
  n = view->GetWindowTextLength();
  view->SetSel(n, n);
  if (m_doc->IsPlaceOrDateChanged()) {
    g_lastBlock = n;
    view->ReplaceSel(m_doc->SkySection(true));
  }
  const int line = view->LineFromChar(g_lastBlock);
  if (line > 0) {
    view->SetSel(g_lastBlock, view->LineIndex(line + 1));
    view->LineScroll(view->GetLineCount());
  } else {
    view->LineScroll(-view->GetLineCount());
  }
}

bool CReportPage::OnCommand(unsigned id) {
  if (id == ID_EDIT_NOTES) {
    OnEditNotes();
    return true;
  }
  if (id == static_cast<unsigned>(IDC_CLEAR)) {
    OnClear();
    return true;
  }
  return CScdPage::OnCommand(id);
}

void CReportPage::OnEditNotes() {
  if (!m_doc) return;
  CNoteStore& notes = *m_doc->GetNoteStore();
  notes.SetDate(CDateTime::GetCurrentTime());
  CNoteDlg dialog(this);
  dialog.m_store = &notes;
  dialog.DoModal();
  Refresh();
}

void CReportPage::OnClear() {
  if (CMenuEdit* view = GetView()) view->SetWindowText("");
  if (m_doc) m_doc->ResetToToday();
}

void CReportPage::OnCancel() {
  if (CPropertySheet* sheet = GetParentSheet()) sheet->DestroyWindow();
}
