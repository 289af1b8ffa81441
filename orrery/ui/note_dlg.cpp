#include "orrery/ui/note_dlg.h"

#include "orrery/notes/note_store.h"
#include "orrery/res/resource.h"
#include "orrery/res/ui_ids.h"
#include "orrery/ui/notes_alerts.h"
#include "platform/strings.h"
#include "platform/ui/menu.h"
#include "platform/ui/shell.h"
#include "platform/ui/spin_button.h"
#include "platform/ui/text.h"

#include <QLabel>

#include <cstdio>

namespace {
const int kMaxOffset = 364;
}

CNoteDlg::CNoteDlg(QWidget* parent) : CDialog(IDD_NOTES, parent) {}

CSpinButton* CNoteDlg::GetSpin() const {
  return qobject_cast<CSpinButton*>(GetDlgItem(IDC_DAY_SPIN));
}

bool CNoteDlg::OnInitDialog() {
  EnableContextHelpButton();
  CDialog::OnInitDialog();
  if (auto* caption = qobject_cast<QLabel*>(GetDlgItem(IDC_NOTES_CAPTION))) {
    caption->setFont(MakeCellFont("MS Sans Serif", caption->contentsRect().height()));
    caption->setWordWrap(false);
    caption->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  }
  if (CSpinButton* spin = GetSpin()) {
    spin->SetRange(-kMaxOffset, kMaxOffset);
    spin->SetPos(0);
    spin->onScroll = [this] { ShowDay(0); };
  }
  m_dayOffset = 0;
  m_startDate = m_store ? m_store->GetDate() : CDateTime::GetCurrentTime();
  m_caption = m_startDate.Format(LoadString(IDS_REPORT_DATE_FORMAT).c_str());
  LoadDay();
  ShowFields();
  return true;
}

void CNoteDlg::LoadDay() {
  if (!m_store) return;
  m_datedText = m_store->GetDatedText();
  m_annualText = m_store->GetAnnualText();
  m_remind = m_store->GetRemind();
}

void CNoteDlg::StoreDay() {
  if (!m_store) return;
  m_store->SetDatedText(m_datedText);
  m_store->SetAnnualText(m_annualText);
  m_store->SetRemind(m_remind);
}

// A text that is still as shown keeps its bytes: the round trip through the
// control would turn bytes that are not valid in the user's charset, and
// lone CRs, into something else.
void CNoteDlg::ReadText(int id, QString& shown, std::string& text) {
  const QString now = GetDlgItemText(id);
  if (now == shown) return;
  shown = now;
  text = ToCrLf(now);
}

void CNoteDlg::ReadControls() {
  ReadText(IDC_DATED_NOTES, m_shownDated, m_datedText);
  ReadText(IDC_ANNUAL_NOTES, m_shownAnnual, m_annualText);
  m_remind = IsDlgButtonChecked(IDC_REMIND) ? 1 : 0;
  bool ok = false;
  const int offset = GetDlgItemInt(IDC_DAY_OFFSET, &ok);
  if (ok && offset >= -kMaxOffset && offset <= kMaxOffset) m_dayOffset = offset;
}

void CNoteDlg::ShowFields() {
  m_shownDated = FromCrLf(m_datedText);
  m_shownAnnual = FromCrLf(m_annualText);
  SetDlgItemText(IDC_DATED_NOTES, m_shownDated);
  SetDlgItemText(IDC_ANNUAL_NOTES, m_shownAnnual);
  CheckDlgButton(IDC_REMIND, m_remind != 0);
  SetDlgItemText(IDC_NOTES_CAPTION, ToQ(m_caption));
  if (CSpinButton* spin = GetSpin())
    spin->SetPos(m_dayOffset);
  else
    SetDlgItemInt(IDC_DAY_OFFSET, m_dayOffset);
}

void CNoteDlg::ShowDay(unsigned command) {
  ReadControls();
  StoreDay();
  const CDateTime startBefore = m_startDate;
  const int offsetBefore = m_dayOffset;
  switch (command) {
    case ID_NOTES_TODAY:
      m_startDate = CDateTime::GetCurrentTime();
      m_dayOffset = 0;
      break;
    case ID_NOTES_NEXT_DAY:
      m_dayOffset += 1;
      break;
    case ID_NOTES_PREVIOUS_DAY:
      m_dayOffset -= 1;
      break;
    case ID_NOTES_NEXT_WEEK:
      m_dayOffset += 7;
      break;
    case ID_NOTES_PREVIOUS_WEEK:
      m_dayOffset -= 7;
      break;
    default:
      break;
  }
  // The offset stays within the spin control's range, whatever the command.
  if (m_dayOffset > kMaxOffset) m_dayOffset = kMaxOffset;
  if (m_dayOffset < -kMaxOffset) m_dayOffset = -kMaxOffset;
  const CDateTime day = m_startDate.AddDays(m_dayOffset);
  if (m_store && !m_store->SetDate(day) && m_store->GetDate().GetDate() != day.GetDate()) {
    // The old year's notes could not be saved: stay on the day shown rather
    // than let its typing be lost or land on another day.
    const CDateTime shown = m_store->GetDate();
    const std::string file = m_store->GetDirectory() + CNoteStore::YearFileName(shown.GetYear());
    std::string text = LoadString(IDS_NOTES_DAY_NOT_SAVED);
    const size_t at = text.find("%s");
    if (at != std::string::npos) text.replace(at, 2, file);
    m_startDate = startBefore;
    m_dayOffset = offsetBefore;
    ShowFields();
    AfxMessageBox(this, ToQ(text), MB_ICONWARNING, ToQ(LoadString(IDS_APP_TITLE)));
    return;
  }
  m_caption = day.Format(LoadString(IDS_REPORT_DATE_FORMAT).c_str());
  LoadDay();
  ShowFields();
  if (m_store) ShowNotesDamage(this, *m_store);
}

bool CNoteDlg::OnCommand(unsigned id) {
  switch (id) {
    case ID_NOTES_TODAY:
    case ID_NOTES_NEXT_DAY:
    case ID_NOTES_PREVIOUS_DAY:
    case ID_NOTES_NEXT_WEEK:
    case ID_NOTES_PREVIOUS_WEEK:
      ShowDay(id);
      return true;
    case IDC_NOTES_CLOSE:
      OnOK();
      return true;
    default:
      return CDialog::OnCommand(id);
  }
}

void CNoteDlg::OnOK() {
  ReadControls();
  StoreDay();
  EndDialog(IDOK);
}

bool CNoteDlg::OnContextMenu(QWidget*, const QPoint& pos) {
  TrackPopupMenu(IDR_NOTES_MENU, pos);
  return true;
}

void CNoteDlg::OnInitMenuPopup(CMenu& menu) { PrepareMenu(menu); }

void CNoteDlg::PrepareMenu(CMenu& menu) {
  int minimum = -kMaxOffset, maximum = kMaxOffset;
  if (CSpinButton* spin = GetSpin()) spin->GetRange(minimum, maximum);
  ReadControls();
  menu.EnableMenuItem(ID_NOTES_NEXT_DAY, m_dayOffset + 1 <= maximum);
  menu.EnableMenuItem(ID_NOTES_NEXT_WEEK, m_dayOffset + 7 <= maximum);
  menu.EnableMenuItem(ID_NOTES_PREVIOUS_DAY, m_dayOffset - 1 >= minimum);
  menu.EnableMenuItem(ID_NOTES_PREVIOUS_WEEK, m_dayOffset - 7 >= minimum);
  menu.EnableMenuItem(ID_NOTES_TODAY, true);
}

void CNoteDlg::WinHelp(unsigned long data, HelpCommand command) {
  CDialog::WinHelp(data & 0xFFFF, command);
}
