#include "orrery/ui/date_page.h"

#include "orrery/notes/note_store.h"
#include "orrery/quotes/quote_list.h"
#include "orrery/report/report_doc.h"
#include "orrery/res/ui_ids.h"
#include "orrery/ui/menu_edit.h"
#include "orrery/ui/msacal70.h"
#include "orrery/ui/note_dlg.h"

#include <QCalendarWidget>
#include <QTextDocument>

namespace {
const char kBlankLine[] = "\r\n\r\n";
}

CDatePage::CDatePage(QWidget* parent) : CScdPage(IDD_DATES, 0, parent) {}

CMenuEdit* CDatePage::GetNotesView() const {
  return qobject_cast<CMenuEdit*>(GetDlgItem(IDC_NOTES_VIEW));
}

CMsacal70* CDatePage::GetCalendar() const {
  return qobject_cast<CMsacal70*>(GetDlgItem(IDC_CALENDAR));
}

QWidget* CDatePage::CreateControl(const ControlTemplate& control, QWidget* parent) {
  if (control.id == IDC_NOTES_VIEW) {
    auto* view = new CMenuEdit(parent);
    ConfigureEdit(view, control);
    return view;
  }
  if (control.id == IDC_CALENDAR) {
    auto* calendar = new CMsacal70(parent);
    calendar->onEvent = [this](int event) { OnCalendarEvent(event); };
    return calendar;
  }
  return CScdPage::CreateControl(control, parent);
}

bool CDatePage::OnInitDialog() {
  CScdPage::OnInitDialog();
  if (CMenuEdit* view = GetNotesView()) view->SetPopupMenu(IDR_DATES_MENU);
  return true;
}

bool CDatePage::OnSetActive() {
  if (m_doc) {
    m_store = m_doc->GetNoteStore();
    m_quotes = m_doc->GetQuoteList();
    const CDateTime date = m_doc->GetReportDate();
    if (CMsacal70* calendar = GetCalendar()) {
      calendar->SetYear(static_cast<short>(date.GetYear()));
      calendar->SetMonth(static_cast<short>(date.GetMonth()));
      calendar->SetDay(static_cast<short>(date.GetDay()));
    }
    UpdateNotesView();
  }
  return CScdPage::OnSetActive();
}

bool CDatePage::OnKillActive() {
  CMsacal70* calendar = GetCalendar();
  if (m_doc && calendar)
    m_doc->SetReportDate(calendar->GetMonth(), calendar->GetDay(), calendar->GetYear());
  return CScdPage::OnKillActive();
}

bool CDatePage::OnCommand(unsigned id) {
  switch (id) {
    case IDC_TODAY:
      if (CMsacal70* calendar = GetCalendar()) {
        calendar->Today();
        calendar->Today();
      }
      return true;
    case ID_EDIT_NOTES:
      OnEditNotes();
      return true;
    case ID_SHOW_QUOTATIONS:
      m_showQuotations = !m_showQuotations;
      if (CMenuEdit* view = GetNotesView()) view->SetQuoteCheck(m_showQuotations);
      UpdateNotesView();
      return true;
    default:
      return CScdPage::OnCommand(id);
  }
}

void CDatePage::OnCalendarEvent(int event) {
  switch (event) {
    case CMsacal70::kDblClick:
      OnEditNotes();
      break;
    case CMsacal70::kAfterUpdate:
      UpdateNotesView();
      break;
    case CMsacal70::kNewMonth:
    case CMsacal70::kNewYear:
      if (CMsacal70* calendar = GetCalendar()) calendar->SetDay(1);
      UpdateNotesView();
      break;
    default:
      break;
  }
}

void CDatePage::UpdateNotesView() {
  CMsacal70* calendar = GetCalendar();
  CMenuEdit* view = GetNotesView();
  if (!m_store || !m_quotes || !calendar || !view) return;
  const CDateTime date = calendar->GetValue();
  if (date.IsValid()) {
    m_store->SetDate(date);
    m_quotes->SetDate(date);
  }
  std::string text = m_store->GetDatedText();
  if (!text.empty()) text += kBlankLine;
  const std::string annual = m_store->GetAnnualText();
  text += annual;
  if (!annual.empty()) text += kBlankLine;
  const std::string reminders = m_store->GetReminders();
  text += reminders;
  if (!reminders.empty()) text += kBlankLine;
  if (m_showQuotations) text += m_quotes->GetDailyQuote();
  view->SetWindowText(text);
  view->document()->setModified(true);
  UpdateMarks();
}

void CDatePage::UpdateMarks() {
  CMsacal70* calendar = GetCalendar();
  if (!m_store || !calendar) return;
  const QCalendarWidget* widget = calendar->GetCalendarWidget();
  const int year = widget->yearShown(), month = widget->monthShown();
  calendar->SetMarkedDays(year, month, m_store->GetMarkedDays(year, month));
}

void CDatePage::OnEditNotes() {
  if (!m_store) return;
  const CDateTime before = m_store->GetDate();
  CNoteDlg dialog(this);
  dialog.m_store = m_store;
  dialog.DoModal();
  const CDateTime after = m_store->GetDate();
  CMsacal70* calendar = GetCalendar();
  if (calendar && after.IsValid() && after.GetDayNumber() != before.GetDayNumber()) {
    calendar->SetYear(static_cast<short>(after.GetYear()));
    calendar->SetMonth(static_cast<short>(after.GetMonth()));
    calendar->SetDay(static_cast<short>(after.GetDay()));
  }
  UpdateNotesView();
}
