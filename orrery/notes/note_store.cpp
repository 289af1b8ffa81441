#include "orrery/notes/note_store.h"

#include "orrery/notes/notes_file.h"
#include "orrery/res/resource.h"
#include "platform/paths.h"
#include "platform/strings.h"
#include "platform/winapp.h"

#include <cstdio>

namespace {

constexpr const char* kSection = "Schedule";
constexpr const char* kPathEntry = "Path";

std::string Resource(unsigned id, const char* fallback) {
  std::string text = LoadString(id);
  return text.empty() ? fallback : text;
}

std::string WithSeparator(std::string dir) {
  if (!dir.empty() && dir.back() != kPathSeparator) dir += kPathSeparator;
  return dir;
}

}  // namespace

CNoteStore::CNoteStore() : m_date(CDateTime::GetCurrentTime()) {
  m_dated.SetDate(m_date);
  m_annual.SetDate(m_date);
  m_directory = GetPersonalDirectory();
  LoadYearFile();
  LoadAnnualFile();
}

CNoteStore::~CNoteStore() { SaveChanges(); }

std::string CNoteStore::YearFileName(int year) {
  if (year < 1) return {};
  const std::string format = Resource(IDS_YEAR_FILE_FORMAT, "Year%.4d.scd");
  char name[64];
  std::snprintf(name, sizeof name, format.c_str(), year);
  return name;
}

std::string CNoteStore::AnnualFileName() { return Resource(IDS_ANNUAL_FILE, "Annual.scd"); }

std::string CNoteStore::YearPath(int year) const {
  const std::string name = YearFileName(year);
  return name.empty() ? std::string() : m_directory + name;
}

std::string CNoteStore::AnnualPath() const { return m_directory + AnnualFileName(); }

bool CNoteStore::LoadYearFile() {
  const std::string path = YearPath(m_date.GetYear());
  if (path.empty()) {
    m_yearFile.Close();
    m_dated.ClearAll();
    return false;
  }
  return LoadNotesFile(m_yearFile, path, m_dated);
}

bool CNoteStore::LoadAnnualFile() { return LoadNotesFile(m_annualFile, AnnualPath(), m_annual); }

bool CNoteStore::SaveYearFile() {
  const std::string path = YearPath(m_date.GetYear());
  m_yearSaveFailed = path.empty() || !SaveNotesFile(path, m_dated);
  if (m_yearSaveFailed) {
    m_dated.MarkUnsaved();
  } else if (m_yearFile.IsOpen()) {
    m_yearFile.Open(path, CFile::modeRead | CFile::shareDenyNone);  // hold the new file
  }
  return !m_yearSaveFailed;
}

bool CNoteStore::SaveAnnualFile() {
  const std::string path = AnnualPath();
  m_annualSaveFailed = !SaveNotesFile(path, m_annual);
  if (!m_annualSaveFailed && m_annualFile.IsOpen())
    m_annualFile.Open(path, CFile::modeRead | CFile::shareDenyNone);
  return !m_annualSaveFailed;
}

bool CNoteStore::SaveChanges() {
  bool ok = true;
  if (m_dated.IsModified()) ok = SaveYearFile() && ok;
  if (m_annual.IsModified()) ok = SaveAnnualFile() && ok;
  return ok;
}

bool CNoteStore::SetDate(const CDateTime& date) {
  if (!date.IsValid()) return false;
  if (date.GetYear() == m_date.GetYear()) {
    m_dated.SetDate(date);
    m_annual.SetDate(date);
    m_date = date;
    return true;
  }
  if (m_dated.IsModified() && !SaveYearFile()) return false;
  m_dated.SetDate(date);
  m_annual.SetDate(date);
  m_date = date;
  return LoadYearFile();
}

int CNoteStore::GetRemind() const { return m_dated.GetDayValue() | m_annual.GetDayValue(); }

void CNoteStore::SetRemind(int value) {
  m_dated.SetDayValue(value);
  m_annual.SetDayValue(value);
}

std::string CNoteStore::GetReminders() {
  const CDateTime start = m_date;
  // The dated notes of a year the store could not move into (its own
  // unsaved notes are kept), read aside from that year's file.
  CUseNote aside;
  int asideYear = 0;
  std::string result;
  for (int i = 1; i <= 5; ++i) {
    const CDateTime d = start.AddDays(i);
    if (!d.IsValid()) break;
    SetDate(d);
    const CUseNote* dated = &m_dated;
    if (m_date != d) {
      if (asideYear != d.GetYear()) {
        asideYear = d.GetYear();
        ReadYearAside(asideYear, aside);
      }
      aside.SetDate(d);
      m_annual.SetDate(d);
      dated = &aside;
    }
    if (dated->GetDayValue() == 0) continue;
    std::string a = dated->GetDayText();
    const std::string b = m_annual.GetDayText();
    if (!a.empty() && !b.empty()) a += "\r\n";
    const std::string entry = a + b;
    if (!entry.empty()) result += "\r\n" + d.Format("(%a) - ") + entry;
  }
  SetDate(start);
  if (!result.empty()) result = "And Don't Forget..." + result;
  return result;
}

void CNoteStore::ReadYearAside(int year, CUseNote& notes) const {
  CFile handle;
  const std::string path = YearPath(year);
  if (path.empty() || !LoadNotesFile(handle, path, notes)) notes.ClearAll();
}

uint32_t CNoteStore::GetMarkedDays(int year, int month) const {
  const int count = DaysInMonth(year, month);
  if (count == 0 || year < 1) return 0;
  CUseNote aside;
  const CUseNote* dated = &m_dated;
  if (year != m_date.GetYear()) {
    ReadYearAside(year, aside);
    dated = &aside;
  }
  const CMonth& d = dated->GetMonthRecord(month - 1);
  const CMonth& a = m_annual.GetMonthRecord(month - 1);
  uint32_t days = 0;
  for (int day = 1; day <= count; ++day) {
    if (!d.GetDayText(day).empty() || !a.GetDayText(day).empty() || d.GetDayValue(day) != 0 ||
        a.GetDayValue(day) != 0)
      days |= 1u << (day - 1);
  }
  return days;
}

std::string CNoteStore::GetPersonalDirectory() {
  CWinApp* app = AfxGetApp();
  std::string dir = app ? app->GetProfileString(kSection, kPathEntry, "") : std::string();
  if (dir.empty()) {
    dir = PathDirectory(GetModuleFileName());
    if (app) app->WriteProfileString(kSection, kPathEntry, dir);
  }
  return WithSeparator(dir);
}

bool CNoteStore::SetPersonalDirectory(const std::string& path) {
  if (path.empty()) return false;
  if (m_dated.IsModified() && !SaveYearFile()) return false;
  if (m_annual.IsModified() && !SaveAnnualFile()) return false;
  m_directory = WithSeparator(path);
  LoadYearFile();
  LoadAnnualFile();
  if (CWinApp* app = AfxGetApp()) app->WriteProfileString(kSection, kPathEntry, path);
  return true;
}

std::vector<CNoteStore::Damage> CNoteStore::TakeDamageReports() { return {}; }

bool CNoteStore::Refresh() { return false; }

bool CNoteStore::HasNotesFiles(const std::string&) { return false; }

bool CNoteStore::MovePersonalDirectory(const std::string& path, std::string* error) {
  if (error) error->clear();
  return SetPersonalDirectory(path);
}
