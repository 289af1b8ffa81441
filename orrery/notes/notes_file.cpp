#include "orrery/notes/notes_file.h"

#include "platform/archive.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

void WriteNotes(CFile& file, CUseNote& notes) {
  CArchive ar(&file, CArchive::store);
  notes.Serialize(ar);
  ar.Close();
}

// The file a path names, through any symbolic links, so that the rename
// replaces the file itself and not the link.
std::string ResolveLinks(const std::string& path) {
  char* real = realpath(path.c_str(), nullptr);
  if (!real) return path;
  std::string resolved(real);
  free(real);
  return resolved;
}

// Notes are private: a new notes file may be read and written by its owner
// only (less what the umask takes away, applied when the file is made).
constexpr unsigned kNotesFileMode = 0600;

// Writes notes into a new temporary file beside target, made with an
// unguessable name and never through a link; its path, or "" (then *made
// says whether the file could be made at all).
std::string WriteTemporary(const std::string& target, CUseNote& notes, bool* made) {
  CFile file;
  *made = file.CreateUnique(target + ".", kNotesFileMode);
  if (!*made) return {};
  const std::string temp = file.GetFilePath();
  bool ok = false;
  try {
    WriteNotes(file, notes);
    file.Flush();
    ok = true;
  } catch (const std::exception&) {
  }
  file.Close();
  if (!ok) {
    std::remove(temp.c_str());
    return {};
  }
  return temp;
}

// Writes through a temporary file and renames it over target. False with
// *made = false when no temporary file could be made.
bool ReplaceFile(const std::string& target, CUseNote& notes, bool* made) {
  const std::string temp = WriteTemporary(target, notes, made);
  if (temp.empty()) return false;
  // The old file's permissions; a new file keeps the temporary's. Best
  // effort only: some file systems (FAT on a memory stick) refuse modes they
  // cannot hold, and that must not make every save fail.
  struct stat st{};
  if (stat(target.c_str(), &st) == 0) (void)chmod(temp.c_str(), st.st_mode & 07777);
  if (std::rename(temp.c_str(), target.c_str()) != 0) {
    std::remove(temp.c_str());
    return false;
  }
  SyncDirectoryOf(target);
  return true;
}

}  // namespace

NotesRead ReadNotesFile(CFile& handle, const std::string& path, CUseNote& notes,
                        FileIdentity* identity) {
  // The identity is taken before and after the read: a file replaced
  // meanwhile is read again, so that identity and content belong together.
  NotesRead result = NotesRead::failed;
  for (int attempt = 0; attempt < 3; ++attempt) {
    const FileIdentity before = IdentityOf(path);
    handle.Close();
    CFileException::Cause cause = CFileException::none;
    if (handle.Open(path, CFile::modeRead | CFile::shareDenyNone, &cause)) {
      try {
        CArchive ar(&handle, CArchive::load);
        notes.Serialize(ar);
        result = NotesRead::read;
      } catch (const CArchiveException&) {
        result = NotesRead::damaged;
      } catch (const CFileException&) {
        result = NotesRead::failed;
      } catch (const std::exception&) {
        result = NotesRead::damaged;  // a length that cannot be allocated
      }
    } else {
      switch (cause) {
        case CFileException::fileNotFound: result = NotesRead::missing; break;
        // Not a regular file, or not readable.
        case CFileException::accessDenied: result = NotesRead::damaged; break;
        default: result = NotesRead::failed; break;
      }
    }
    const FileIdentity after = IdentityOf(path);
    if (identity) *identity = after;
    if (before == after || !after.exists) break;
  }
  if (result != NotesRead::read) {
    handle.Close();
    notes.ClearAll();
  }
  return result;
}

bool LoadNotesFile(CFile& handle, const std::string& path, CUseNote& notes) {
  return ReadNotesFile(handle, path, notes) == NotesRead::read;
}

bool SaveNotesFile(const std::string& path, CUseNote& notes) {
  if (path.empty()) {
    notes.MarkUnsaved();
    return false;
  }
  const std::string target = ResolveLinks(path);
  // Held open while saving: others may read but not write, and a file the
  // user may not write is refused rather than replaced.
  CFile guard;
  const bool exists = FileExists(target);
  bool ok = false;
  if (!exists || guard.Open(target, CFile::modeWrite | CFile::modeNoTruncate |
                                        CFile::shareDenyWrite)) {
    bool made = false;
    ok = ReplaceFile(target, notes, &made);
    if (!made) {
      try {
        if (guard.IsOpen() || guard.Open(target, CFile::modeWrite | CFile::modeCreate |
                                                     CFile::modeNoTruncate |
                                                     CFile::shareDenyWrite)) {
          if (!exists) (void)chmod(target.c_str(), kNotesFileMode & ~ProcessUmask());
          WriteNotes(guard, notes);
          guard.Flush();
          ok = true;
        }
      } catch (const std::exception&) {
        ok = false;
      }
    }
  }
  if (!ok) notes.MarkUnsaved();
  return ok;
}

bool WriteNewNotesFile(const std::string& path, CUseNote& notes, std::string* error) {
  auto fail = [&](const std::string& why) {
    if (error) *error = why;
    return false;
  };
  if (FileExists(path)) return fail("'" + path + "' already exists");
  bool made = false;
  const std::string temp = WriteTemporary(path, notes, &made);
  if (temp.empty())
    return fail(made ? "cannot write '" + path + "'" : "cannot create a file beside '" + path + "'");
  const int err = MoveNoReplace(temp, path);
  if (err != 0) {
    std::remove(temp.c_str());
    return fail(err == EEXIST ? "'" + path + "' already exists"
                              : "cannot create '" + path + "': " + std::strerror(err));
  }
  SyncDirectoryOf(path);
  return true;
}

int SalvageNotesFile(const std::string& path, CUseNote& notes, std::string* error) {
  notes.ClearAll();
  CFile file;
  CFileException::Cause cause = CFileException::none;
  if (!file.Open(path, CFile::modeRead | CFile::shareDenyNone, &cause)) {
    if (error) {
      *error = "cannot open '" + path + "'";
      if (cause == CFileException::fileNotFound) *error += ": no such file";
      else if (cause == CFileException::accessDenied) *error += ": not a readable file";
    }
    return -1;
  }
  CArchive ar(&file, CArchive::load);
  int months = 0;
  try {
    for (; months < 12; ++months) {
      CMonth month;
      month.Serialize(ar);
      notes.SetMonthRecord(months, month);
    }
  } catch (const CFileException& e) {
    if (error) *error = "cannot read '" + path + "': " + e.what();
    notes.ClearAll();
    return -1;
  } catch (const std::exception&) {
    // The damage is in this month; nothing after it can be found.
  }
  return months;
}
