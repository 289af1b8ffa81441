#include "orrery/notes/notes_file.h"

#include "platform/archive.h"

#include <cstdio>
#include <cstdlib>
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

void SyncDirectory(const std::string& file) {
  const auto slash = file.find_last_of('/');
  const std::string dir = slash == std::string::npos ? "." : file.substr(0, slash + 1);
  const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  ::close(fd);
}

mode_t NewFileMode() {
  const mode_t mask = umask(0);
  umask(mask);
  return 0644 & ~mask;
}

// Writes through a temporary file and renames it over target. False with
// *made = false when no temporary file could be made.
bool ReplaceFile(const std::string& target, CUseNote& notes, bool* made) {
  std::string temp = target + ".XXXXXX";
  const int fd = mkstemp(temp.data());
  *made = fd >= 0;
  if (fd < 0) return false;
  ::close(fd);
  bool ok = false;
  {
    CFile file;
    if (file.Open(temp, CFile::modeWrite | CFile::shareExclusive)) {
      try {
        WriteNotes(file, notes);
        file.Flush();
        ok = true;
      } catch (const std::exception&) {
      }
    }
  }
  // The old file's permissions, or those of a new file. Best effort only:
  // some file systems (FAT on a memory stick) refuse modes they cannot hold,
  // and that must not make every save fail.
  struct stat st{};
  const mode_t mode = stat(target.c_str(), &st) == 0 ? (st.st_mode & 07777) : NewFileMode();
  if (ok) (void)chmod(temp.c_str(), mode);
  ok = ok && std::rename(temp.c_str(), target.c_str()) == 0;
  if (!ok) {
    std::remove(temp.c_str());
    return false;
  }
  SyncDirectory(target);
  return true;
}

}  // namespace

bool LoadNotesFile(CFile& handle, const std::string& path, CUseNote& notes) {
  handle.Close();
  if (handle.Open(path, CFile::modeRead | CFile::shareDenyNone)) {
    try {
      CArchive ar(&handle, CArchive::load);
      notes.Serialize(ar);
      return true;
    } catch (const std::exception&) {
    }
  }
  handle.Close();
  notes.ClearAll();
  return false;
}

bool SaveNotesFile(const std::string& path, CUseNote& notes) {
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
          WriteNotes(guard, notes);
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
