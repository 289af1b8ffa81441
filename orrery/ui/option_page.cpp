#include "orrery/ui/option_page.h"

#include "orrery/app/run_key.h"
#include "orrery/quotes/quote_list.h"
#include "orrery/report/greeting.h"
#include "orrery/report/report_doc.h"
#include "orrery/res/resource.h"
#include "orrery/res/ui_ids.h"
#include "platform/paths.h"
#include "platform/strings.h"
#include "platform/ui/ddx.h"
#include "platform/ui/file_dialog.h"
#include "platform/ui/list_controls.h"
#include "platform/ui/shell.h"
#include "platform/ui/text.h"

COptionPage::COptionPage(QWidget* parent) : CScdPage(IDD_OPTIONS, 0, parent) {}

COptionPage::~COptionPage() { DestroyPage(); }

CListBox* COptionPage::GetQuoteListBox() const {
  return qobject_cast<CListBox*>(GetDlgItem(IDC_QUOTE_LIST));
}

void COptionPage::DoDataExchange(CDataExchange* dx) {
  DDX_Check(dx, IDC_MOON, m_moon);
  DDX_Check(dx, IDC_SUN, m_sun);
  DDX_Check(dx, IDC_PHASE, m_phase);
  DDX_Check(dx, IDC_GREET, m_greet);
  DDX_Text(dx, IDC_FIRST_NAME, m_firstName);
  DDX_Radio(dx, IDC_START_ON_REQUEST, m_startMode);
}

bool COptionPage::OnInitDialog() {
  CScdPage::OnInitDialog();
  if (m_doc) {
    m_firstName = m_doc->GetGreetingObj()->GetName();
    m_greet = m_doc->GetGreet();
    m_moon = m_doc->GetMoon();
    m_phase = m_doc->GetPhase();
    m_sun = m_doc->GetSun();
  }
  EnableDlgItem(IDC_FIRST_NAME, m_greet != 0);
  m_runKey = std::make_unique<CRunKey>();
  m_startMode = m_runKey->GetState();
  UpdateData(false);
  FillList();
  return true;
}

bool COptionPage::OnKillActive() {
  StoreChoices();
  return CScdPage::OnKillActive();
}

void COptionPage::FillList() {
  CListBox* list = GetQuoteListBox();
  if (!list) return;
  list->ResetContent();
  list->AddString(ToQ(LoadString(IDS_NO_DAILY_QUOTATION_ITEM)));
  CQuoteList* quotes = m_doc ? m_doc->GetQuoteList() : nullptr;
  for (int n = 1; quotes; ++n) {
    const std::string title = quotes->GetTitle(n);
    if (title.empty()) break;
    list->AddString(ToQ(title));
  }
  list->SetCurSel(quotes ? quotes->GetCurrent() : 0);
  EnableDlgItem(IDC_REMOVE, list->GetCurSel() > 0);
}

void COptionPage::StoreChoices() {
  UpdateData(true);
  if (!m_doc) return;
  m_doc->GetGreetingObj()->SetName(m_firstName);
  m_doc->SetGreet(m_greet);
  m_doc->SetMoon(m_moon);
  m_doc->SetPhase(m_phase);
  m_doc->SetSun(m_sun);
  if (CListBox* list = GetQuoteListBox()) m_doc->GetQuoteList()->SetCurrent(list->GetCurSel());
}

bool COptionPage::OnCommand(unsigned id) {
  switch (id) {
    case IDC_GREET:
      UpdateData(true);
      EnableDlgItem(IDC_FIRST_NAME, m_greet != 0);
      return true;
    case IDC_ADD:
      OnAdd();
      return true;
    case IDC_REMOVE:
      OnRemove();
      return true;
    case IDC_CREATE:
      OnCreate();
      return true;
    default:
      return CScdPage::OnCommand(id);
  }
}

bool COptionPage::OnControlNotify(int id, unsigned code) {
  if (id != IDC_QUOTE_LIST) return CScdPage::OnControlNotify(id, code);
  if (code == LBN_SELCHANGE) {
    const CListBox* list = GetQuoteListBox();
    EnableDlgItem(IDC_REMOVE, list && list->GetCurSel() > 0);
    return true;
  }
  if (code == LBN_DBLCLK) {
    StoreChoices();
    if (CPropertySheet* sheet = GetParentSheet()) sheet->OnSysCommand(IDM_ABOUTBOX);
    return true;
  }
  return false;
}

void COptionPage::OnAdd() {
  if (!m_doc) return;
  CQuoteList& quotes = *m_doc->GetQuoteList();
  FileDialogRequest request;
  request.title = ToQ(LoadString(IDS_SELECT_QUOTE_FILE));
  request.filter = LoadString(IDS_QUOTE_FILE_FILTER);
  request.defaultExtension = "day";
  request.initialFile = quotes.GetFullPath(0);
  request.fileMustExist = true;
  const auto path = RunFileDialog(this, request);
  if (!path) return;
  const int n = quotes.AddFile(*path);
  if (n <= 0) {
    AfxMessageBox(this, ToQ(LoadString(IDS_QUOTE_FILE_UNREADABLE)), MB_OK,
                  ToQ(LoadString(IDS_TRY_AGAIN)));
    return;
  }
  quotes.SetCurrent(n);
  FillList();
}

void COptionPage::OnRemove() {
  CListBox* list = GetQuoteListBox();
  if (!m_doc || !list) return;
  const int selected = list->GetCurSel();
  if (selected <= 0) return;
  CQuoteList& quotes = *m_doc->GetQuoteList();
  const int n = quotes.RemoveFile(selected);
  quotes.SetCurrent(n);
  list->SetCurSel(n);
  FillList();
}

void COptionPage::OnCreate() {
  const std::string directory = PathDirectory(GetModuleFileName());
  const std::string program = directory + LoadString(IDS_GENERATOR_NAME) + kExeSuffix;
  if (!StartProgram(program, {}, directory))
    AfxMessageBox(this, ToQ(LoadString(IDS_CANNOT_START_GENERATOR)), MB_ICONERROR);
}

void COptionPage::OnDestroy() {
  StoreChoices();
  const int mode = m_startMode == 0 ? 0 : m_startMode == 1 ? 1 : 2;
  if (m_runKey && !m_runKey->Apply(mode))
    AfxMessageBox(nullptr, ToQ(LoadString(IDS_NO_REGISTRY_ACCESS)), MB_ICONWARNING);
  m_runKey.reset();
}
