// The notes folder on disk: which file a name holds now, the lock that
// orders the writers of one folder, and moves that never replace a file.
#pragma once

#include <cstdint>
#include <string>

// Which file a path names: device, inode, size and modification time to the
// nanosecond. Two missing files are the same; a path that cannot be looked
// at for another reason than its absence counts as an unknown file.
struct FileIdentity {
  bool exists = false;
  uint64_t device = 0;
  uint64_t inode = 0;
  int64_t size = 0;
  int64_t mtimeSeconds = 0;
  int64_t mtimeNanoseconds = 0;
  bool unknown = false;

  bool operator==(const FileIdentity& other) const;
  bool operator!=(const FileIdentity& other) const { return !(*this == other); }
};

// The identity of what path names now, through symbolic links.
FileIdentity IdentityOf(const std::string& path);

// The lock of one notes folder: the file ".notes.lock" in it, locked whole
// with an open-file-description lock, so that two processes and two opens
// in one process exclude each other. Exclusive locks create the file (0644)
// and wait for every other holder; shared ones never create it and wait
// only for an exclusive holder. Where the file cannot be opened (a folder
// without write access, a missing folder) nothing is locked and the work
// goes on as it can.
class NotesLock {
public:
  enum Kind { shared, exclusive };
  NotesLock(const std::string& directory, Kind kind);
  ~NotesLock();
  NotesLock(const NotesLock&) = delete;
  NotesLock& operator=(const NotesLock&) = delete;
  bool IsHeld() const { return m_held; }

  static constexpr const char* kFileName = ".notes.lock";

private:
  int m_fd = -1;
  bool m_held = false;
};

// Renames from to to unless to exists (atomically: the kernel's no-replace
// rename, or a hard link and unlink where the file system lacks it). 0 or
// the error number: EEXIST when to is taken, EXDEV across file systems.
int MoveNoReplace(const std::string& from, const std::string& to);

// Moves path aside as "<path>.damaged-YYYYMMDD-HHMMSS" (local time now),
// with "-2", "-3"... when that name is taken. The new path, or "" when the
// move failed (path then stays as it was).
std::string KeepAside(const std::string& path);

// Copies the regular file from into to, which must not exist, and forces it
// to disk. 0 or the error number; a failed copy leaves no file at to.
int CopyNewFile(const std::string& from, const std::string& to);

// Forces the directory entries of the folder holding file to disk.
void SyncDirectoryOf(const std::string& file);
