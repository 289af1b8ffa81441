#include "orrery/notes/note_store.h"

#include "orrery/notes/notes_file.h"
#include "orrery/res/resource.h"
#include "platform/paths.h"
#include "platform/registry.h"
#include "platform/strings.h"
#include "platform/winapp.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

// The file a save writes: through a symbolic link to the file it names.
std::string SaveTarget(const std::string& path) {
  struct stat st{};
  if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
  char* real = realpath(path.c_str(), nullptr);
  if (!real) return path;
  std::string resolved(real);
  free(real);
  return resolved;
}

// The names in dir, "" entries left out; false when it cannot be listed.
bool ListDirectory(const std::string& dir, std::vector<std::string>* names) {
  DIR* d = opendir(dir.c_str());
  if (!d) return false;
  while (const dirent* e = readdir(d)) {
    const std::string name = e->d_name;
    if (name != "." && name != "..") names->push_back(name);
  }
  closedir(d);
  return true;
}

// Why what path names cannot be read as a file, or "" when it can be opened
// for reading (a pipe is never waited on).
std::string UnreadableReason(const std::string& path) {
  struct stat st{};
  if (stat(path.c_str(), &st) != 0) return std::strerror(errno);
  if (S_ISDIR(st.st_mode)) return "it is a folder";
  if (S_ISFIFO(st.st_mode)) return "it is a pipe";
  if (!S_ISREG(st.st_mode)) return "it is not a regular file";
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return std::strerror(errno);
  ::close(fd);
  return {};
}

bool SameDirectory(const std::string& a, const std::string& b) {
  struct stat sa{}, sb{};
  return stat(a.c_str(), &sa) == 0 && stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
         sa.st_ino == sb.st_ino;
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

bool CNoteStore::IsYearFileName(const std::string& name) {
  // The year's digits sit where the sample year's do.
  const std::string sample = YearFileName(1);
  const size_t at = sample.find("0001");
  if (at == std::string::npos) return false;
  const std::string prefix = sample.substr(0, at), suffix = sample.substr(at + 4);
  if (name.size() <= prefix.size() + suffix.size() || name.compare(0, prefix.size(), prefix) != 0 ||
      name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0)
    return false;
  const std::string digits = name.substr(prefix.size(), name.size() - prefix.size() - suffix.size());
  if (digits.size() > 9 || digits.find_first_not_of("0123456789") != std::string::npos) return false;
  return YearFileName(std::atoi(digits.c_str())) == name;
}

std::string CNoteStore::YearPath(int year) const {
  const std::string name = YearFileName(year);
  return name.empty() || !HasDirectory() ? std::string() : m_directory + name;
}

std::string CNoteStore::AnnualPath() const {
  return HasDirectory() ? m_directory + AnnualFileName() : std::string();
}

bool CNoteStore::LoadKind(const std::string& path, CFile& handle, CUseNote& notes, Seen& seen) {
  if (path.empty()) {
    handle.Close();
    notes.ClearAll();
    seen = Seen{};
    return false;
  }
  // Briefly, so that no save is half done while the file is read.
  NotesLock lock(m_directory, NotesLock::shared);
  const NotesRead result = ReadNotesFile(handle, path, notes, &seen.identity);
  seen.readable = result == NotesRead::read || result == NotesRead::missing;
  NoteReadResult(path, result);
  return result == NotesRead::read;
}

void CNoteStore::NoteReadResult(const std::string& path, NotesRead result) const {
  std::string reason;
  if (result == NotesRead::failed) {
    reason = UnreadableReason(path);
    if (reason.empty()) reason = "the system refused the read";
  } else if (result == NotesRead::damaged) {
    reason = UnreadableReason(path);
  }
  if (reason.empty()) return;
  for (const ReadFailure& f : m_readFailures)
    if (f.file == path) return;
  m_readFailures.push_back({path, reason});
}

std::vector<CNoteStore::ReadFailure> CNoteStore::TakeReadFailures() {
  std::vector<ReadFailure> failures;
  failures.swap(m_readFailures);
  return failures;
}

bool CNoteStore::LoadYearFile() {
  return LoadKind(YearPath(m_date.GetYear()), m_yearFile, m_dated, m_yearSeen);
}

bool CNoteStore::LoadAnnualFile() { return LoadKind(AnnualPath(), m_annualFile, m_annual, m_annualSeen); }

bool CNoteStore::SaveKind(const std::string& path, CFile& handle, CUseNote& notes, Seen& seen) {
  if (path.empty()) {
    notes.MarkUnsaved();
    return false;
  }
  NotesLock lock(m_directory, NotesLock::exclusive);
  const std::string target = SaveTarget(path);
  CUseNote merged = notes;
  // A file that is still the one read or written last holds what the store
  // has without its changes; otherwise it is read as it is now.
  if (IdentityOf(target) != seen.identity || !seen.readable) {
    CFile reader;
    CUseNote disk;
    switch (ReadNotesFile(reader, target, disk)) {
      case NotesRead::read:
      case NotesRead::missing:
        merged.MergeUnder(disk);
        break;
      case NotesRead::damaged: {
        // Its bytes are kept before anything is written; the store's whole
        // copy is then the best there is.
        reader.Close();
        const std::string kept = KeepAside(target);
        if (kept.empty()) {
          notes.MarkUnsaved();
          return false;
        }
        m_damage.push_back({path, kept});
        seen.identity = IdentityOf(target);
        seen.readable = true;
        break;
      }
      case NotesRead::failed:
        notes.MarkUnsaved();
        return false;
    }
  }
  if (!SaveNotesFile(target, merged)) {
    notes.MarkUnsaved();
    return false;
  }
  merged.MarkStored();
  notes = merged;
  seen.identity = IdentityOf(target);
  seen.readable = true;
  if (handle.IsOpen()) handle.Open(path, CFile::modeRead | CFile::shareDenyNone);  // hold the new file
  return true;
}

bool CNoteStore::SaveYearFile() {
  m_yearSaveFailed = !SaveKind(YearPath(m_date.GetYear()), m_yearFile, m_dated, m_yearSeen);
  return !m_yearSaveFailed;
}

bool CNoteStore::SaveAnnualFile() {
  m_annualSaveFailed = !SaveKind(AnnualPath(), m_annualFile, m_annual, m_annualSeen);
  return !m_annualSaveFailed;
}

bool CNoteStore::SaveChanges() {
  bool ok = true;
  if (m_dated.IsModified()) ok = SaveYearFile() && ok;
  if (m_annual.IsModified()) ok = SaveAnnualFile() && ok;
  return ok;
}

void CNoteStore::DiscardChanges() {
  m_dated.DiscardChanges();
  m_annual.DiscardChanges();
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
  if (path.empty()) {
    notes.ClearAll();
    return;
  }
  NotesLock lock(m_directory, NotesLock::shared);
  NoteReadResult(path, ReadNotesFile(handle, path, notes));
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
    // A profile that exists but cannot be read may well name another
    // folder: none is taken rather than one the user did not choose.
    if (!RegHiveFailure(HKEY_CURRENT_USER).empty()) return {};
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

std::vector<CNoteStore::Damage> CNoteStore::TakeDamageReports() {
  std::vector<Damage> reports;
  reports.swap(m_damage);
  return reports;
}

bool CNoteStore::RefreshKind(const std::string& path, CFile& handle, CUseNote& notes, Seen& seen) {
  if (path.empty() || IdentityOf(path) == seen.identity) return false;
  NotesLock lock(m_directory, NotesLock::shared);
  CFile reader;
  CUseNote disk;
  FileIdentity identity;
  switch (ReadNotesFile(reader, path, disk, &identity)) {
    case NotesRead::read:
    case NotesRead::missing: {
      const CUseNote before = notes;
      notes.MergeUnder(disk);
      seen.identity = identity;
      seen.readable = true;
      if (reader.IsOpen()) handle.Open(path, CFile::modeRead | CFile::shareDenyNone);
      else handle.Close();
      return !notes.SameDays(before);
    }
    case NotesRead::damaged:
      // The store's copy is all that is left of what the file held: the
      // next save writes it whole (keeping the damaged file aside).
      if (!notes.IsEmpty()) notes.MarkUnsaved();
      seen.identity = identity;
      seen.readable = false;
      return false;
    case NotesRead::failed:
      break;
  }
  return false;
}

bool CNoteStore::Refresh() {
  const bool dated = RefreshKind(YearPath(m_date.GetYear()), m_yearFile, m_dated, m_yearSeen);
  const bool annual = RefreshKind(AnnualPath(), m_annualFile, m_annual, m_annualSeen);
  return dated || annual;
}

bool CNoteStore::HasNotesFiles(const std::string& dir) {
  std::vector<std::string> names;
  if (dir.empty() || !ListDirectory(dir, &names)) return false;
  const std::string annual = AnnualFileName();
  for (const std::string& name : names)
    if (name == annual || IsYearFileName(name)) return true;
  return false;
}

bool CNoteStore::MovePersonalDirectory(const std::string& path, std::string* error) {
  auto fail = [&](const std::string& why) {
    if (error) *error = why;
    return false;
  };
  if (error) error->clear();
  if (path.empty()) return fail("no folder was given");
  if (!HasDirectory()) return fail("there is no notes folder to move from");
  struct stat st{};
  if (stat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
    return fail("'" + path + "' is not a folder");
  if (SameDirectory(m_directory, path))
    return SetPersonalDirectory(path) || fail("the notes could not be saved");
  if (!SaveChanges()) return fail("the notes could not be saved in '" + m_directory + "'");

  const std::string to = WithSeparator(path);
  {
    // No save into the old folder while its files leave it.
    NotesLock lock(m_directory, NotesLock::exclusive);
    std::vector<std::string> names, files;
    if (!ListDirectory(m_directory, &names)) return fail("cannot list '" + m_directory + "'");
    const std::string annual = AnnualFileName();
    for (const std::string& name : names)
      if (name == annual || IsYearFileName(name)) files.push_back(name);
    for (const std::string& name : files) {
      struct stat taken{};
      if (lstat((to + name).c_str(), &taken) == 0)
        return fail("'" + to + "' already holds a file named '" + name + "'");
    }

    // Renamed where both folders are on one file system; copied otherwise,
    // the originals removed only once every copy is complete.
    std::vector<std::string> renamed, copied;
    std::string why;
    for (const std::string& name : files) {
      const std::string from = m_directory + name, dest = to + name;
      int err = MoveNoReplace(from, dest);
      if (err == 0) {
        renamed.push_back(name);
        continue;
      }
      if (err == EXDEV) err = CopyNewFile(from, dest);
      if (err == 0) {
        copied.push_back(name);
        continue;
      }
      why = err == EEXIST ? "'" + to + "' already holds a file named '" + name + "'"
                          : "cannot move '" + from + "' into '" + to + "': " + std::strerror(err);
      break;
    }
    if (!why.empty()) {
      for (auto it = renamed.rbegin(); it != renamed.rend(); ++it)
        MoveNoReplace(to + *it, m_directory + *it);
      for (const std::string& name : copied) std::remove((to + name).c_str());
      SyncDirectoryOf(m_directory + ".");
      return fail(why);
    }
    for (const std::string& name : copied) std::remove((m_directory + name).c_str());
    SyncDirectoryOf(m_directory + ".");
    SyncDirectoryOf(to + ".");
  }
  return SetPersonalDirectory(path) || fail("the notes could not be saved");
}
