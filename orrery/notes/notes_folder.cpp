#include "orrery/notes/notes_folder.h"

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

bool FileIdentity::operator==(const FileIdentity& other) const {
  if (unknown || other.unknown) return false;
  if (!exists || !other.exists) return exists == other.exists;
  return device == other.device && inode == other.inode && size == other.size &&
         mtimeSeconds == other.mtimeSeconds && mtimeNanoseconds == other.mtimeNanoseconds;
}

FileIdentity IdentityOf(const std::string& path) {
  FileIdentity id;
  struct stat st{};
  if (stat(path.c_str(), &st) != 0) {
    id.unknown = errno != ENOENT && errno != ENOTDIR;
    id.exists = id.unknown;
    return id;
  }
  id.exists = true;
  id.device = static_cast<uint64_t>(st.st_dev);
  id.inode = static_cast<uint64_t>(st.st_ino);
  id.size = static_cast<int64_t>(st.st_size);
  id.mtimeSeconds = static_cast<int64_t>(st.st_mtim.tv_sec);
  id.mtimeNanoseconds = static_cast<int64_t>(st.st_mtim.tv_nsec);
  return id;
}

NotesLock::NotesLock(const std::string& directory, Kind kind) {
  if (directory.empty()) return;
  const std::string path = directory + kFileName;
  m_fd = kind == exclusive ? ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644)
                           : ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (m_fd < 0) return;
  struct stat st{};
  if (fstat(m_fd, &st) != 0 || !S_ISREG(st.st_mode)) return;
  struct flock fl{};
  fl.l_type = kind == exclusive ? F_WRLCK : F_RDLCK;
  fl.l_whence = SEEK_SET;
  fl.l_start = 0;
  fl.l_len = 0;  // the whole file
  int rc;
  do {
    rc = fcntl(m_fd, F_OFD_SETLKW, &fl);
  } while (rc != 0 && errno == EINTR);
  m_held = rc == 0;
}

NotesLock::~NotesLock() {
  if (m_fd >= 0) ::close(m_fd);  // closing the description releases its lock
}

int MoveNoReplace(const std::string& from, const std::string& to) {
  if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
  const int err = errno;
  if (err != EINVAL && err != ENOSYS && err != ENOTSUP) return err;
  // No such rename here: a new link fails when the name is taken.
  if (link(from.c_str(), to.c_str()) != 0) return errno;
  if (unlink(from.c_str()) != 0) {
    const int unlinkError = errno;
    unlink(to.c_str());
    return unlinkError;
  }
  return 0;
}

std::string KeepAside(const std::string& path) {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
  const std::string base = path + ".damaged-" + stamp;
  for (int n = 1; n < 1000; ++n) {
    const std::string kept = n == 1 ? base : base + "-" + std::to_string(n);
    const int err = MoveNoReplace(path, kept);
    if (err == 0) {
      SyncDirectoryOf(path);
      return kept;
    }
    if (err != EEXIST) return {};
  }
  return {};
}

int CopyNewFile(const std::string& from, const std::string& to) {
  const int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (in < 0) return errno;
  struct stat st{};
  if (fstat(in, &st) != 0 || !S_ISREG(st.st_mode)) {
    const int err = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
    ::close(in);
    return err;
  }
  const int out = ::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, st.st_mode & 0777);
  if (out < 0) {
    const int err = errno;
    ::close(in);
    return err;
  }
  int err = 0;
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(in, buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      err = errno;
      break;
    }
    if (n == 0) break;
    for (ssize_t done = 0; done < n;) {
      const ssize_t w = ::write(out, buffer + done, static_cast<size_t>(n - done));
      if (w < 0) {
        if (errno == EINTR) continue;
        err = errno;
        break;
      }
      done += w;
    }
    if (err) break;
  }
  if (!err && fsync(out) != 0) err = errno;
  if (::close(out) != 0 && !err) err = errno;
  ::close(in);
  if (err) {
    unlink(to.c_str());
    return err;
  }
  SyncDirectoryOf(to);
  return 0;
}

void SyncDirectoryOf(const std::string& file) {
  const auto slash = file.find_last_of('/');
  const std::string dir = slash == std::string::npos ? "." : file.substr(0, slash + 1);
  const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  ::close(fd);
}
