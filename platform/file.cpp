#include "platform/file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Share state is kept as read locks on bytes far past any real data:
// one byte each for "has read access", "has write access", "denies reading"
// and "denies writing". A new open checks the bytes its wishes conflict with.
constexpr off_t kLockBase = 0x7FFFFFFFFFFF0000LL;
enum LockByte { kHasRead, kHasWrite, kDeniesRead, kDeniesWrite };

bool PlaceReadLock(int fd, LockByte byte) {
  struct flock fl{};
  fl.l_type = F_RDLCK;
  fl.l_whence = SEEK_SET;
  fl.l_start = kLockBase + byte;
  fl.l_len = 1;
  return fcntl(fd, F_OFD_SETLK, &fl) == 0;
}

// Whether another open file description holds the byte.
bool HeldByOthers(int fd, LockByte byte) {
  struct flock fl{};
  fl.l_type = F_WRLCK;
  fl.l_whence = SEEK_SET;
  fl.l_start = kLockBase + byte;
  fl.l_len = 1;
  if (fcntl(fd, F_OFD_GETLK, &fl) != 0) return false;
  return fl.l_type != F_UNLCK;
}

CFileException::Cause CauseOf(int err) {
  switch (err) {
    case ENOENT: return CFileException::fileNotFound;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS: return CFileException::accessDenied;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP: return CFileException::badPath;
    case ENOSPC:
    case EDQUOT: return CFileException::diskFull;
    default: return CFileException::generic;
  }
}

}  // namespace

CFileException::CFileException(Cause cause, const std::string& file, int osError)
    : std::runtime_error("file error on " + file + (osError ? ": " + std::string(std::strerror(osError)) : "")),
      m_cause(cause), m_strFileName(file), m_lOsError(osError) {}

CFile::~CFile() { Close(); }

bool CFile::Open(const std::string& path, unsigned flags, CFileException::Cause* error) {
  Close();
  auto fail = [&](CFileException::Cause cause) {
    if (error) *error = cause;
    return false;
  };
  if (path.empty()) return fail(CFileException::badPath);

  const unsigned accessBits = flags & 0x3;
  const bool wantRead = accessBits == modeRead || accessBits == modeReadWrite;
  const bool wantWrite = accessBits == modeWrite || accessBits == modeReadWrite;
  const unsigned share = flags & 0x70;
  const bool denyRead = share == shareExclusive || share == shareCompat || share == shareDenyRead;
  const bool denyWrite = share == shareExclusive || share == shareCompat || share == shareDenyWrite;

  // Write-only opens are made read-write so that the share locks can be set.
  int oflags = O_CLOEXEC | (wantWrite ? O_RDWR : O_RDONLY);
  if (flags & modeCreate) oflags |= O_CREAT;
  // Opened without blocking, so that a pipe with no writer cannot hang the
  // program; only regular files are files here.
  oflags |= O_NONBLOCK;
  int fd = ::open(path.c_str(), oflags, 0644);
  bool canLock = true;
  if (fd < 0 && errno == EACCES && wantWrite && !wantRead) {
    fd = ::open(path.c_str(), (oflags & ~O_RDWR) | O_WRONLY, 0644);
    canLock = false;
  }
  if (fd < 0) return fail(errno == ENXIO ? CFileException::accessDenied : CauseOf(errno));
  struct stat st{};
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return fail(CFileException::accessDenied);
  }
  fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);

  if (canLock) {
    // Locks are placed before the check, so of two racing opens that conflict
    // at least one sees the other. A file system without locks has no sharing.
    if (wantRead) PlaceReadLock(fd, kHasRead);
    if (wantWrite) PlaceReadLock(fd, kHasWrite);
    if (denyRead) PlaceReadLock(fd, kDeniesRead);
    if (denyWrite) PlaceReadLock(fd, kDeniesWrite);
    const bool conflict = (wantRead && HeldByOthers(fd, kDeniesRead)) ||
                          (wantWrite && HeldByOthers(fd, kDeniesWrite)) ||
                          (denyRead && HeldByOthers(fd, kHasRead)) ||
                          (denyWrite && HeldByOthers(fd, kHasWrite));
    if (conflict) {
      ::close(fd);
      return fail(CFileException::sharingViolation);
    }
  }
  if ((flags & modeCreate) && !(flags & modeNoTruncate) && ftruncate(fd, 0) != 0) {
    const int err = errno;
    ::close(fd);
    return fail(CauseOf(err));
  }
  m_fd = fd;
  m_path = path;
  return true;
}

bool CFile::CreateUnique(const std::string& prefix, unsigned mode, CFileException::Cause* error) {
  Close();
  static constexpr char kLetters[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  int err = EEXIST;
  for (int attempt = 0; attempt < 100 && err == EEXIST; ++attempt) {
    unsigned char random[6];
    if (getrandom(random, sizeof random, 0) != static_cast<ssize_t>(sizeof random)) {
      err = errno;
      if (err == EINTR) err = EEXIST;
      continue;
    }
    std::string path = prefix;
    for (unsigned char r : random) path += kLetters[r % (sizeof kLetters - 1)];
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                          static_cast<mode_t>(mode & 07777));
    if (fd >= 0) {
      m_fd = fd;
      m_path = std::move(path);
      return true;
    }
    err = errno;
  }
  if (error) *error = err == EEXIST ? CFileException::generic : CauseOf(err);
  return false;
}

void CFile::Close() {
  if (m_fd >= 0) ::close(m_fd);
  m_fd = -1;
}

size_t CFile::Read(void* buffer, size_t count) {
  if (m_fd < 0) throw CFileException(CFileException::generic, m_path);
  size_t done = 0;
  auto* out = static_cast<char*>(buffer);
  while (done < count) {
    const ssize_t n = ::read(m_fd, out + done, count - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      throw CFileException(CauseOf(errno), m_path, errno);
    }
    if (n == 0) break;
    done += static_cast<size_t>(n);
  }
  return done;
}

void CFile::Write(const void* buffer, size_t count) {
  if (m_fd < 0) throw CFileException(CFileException::generic, m_path);
  size_t done = 0;
  const auto* in = static_cast<const char*>(buffer);
  while (done < count) {
    const ssize_t n = ::write(m_fd, in + done, count - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      throw CFileException(CauseOf(errno), m_path, errno);
    }
    done += static_cast<size_t>(n);
  }
}

uint64_t CFile::GetLength() const {
  struct stat st{};
  if (m_fd < 0 || fstat(m_fd, &st) != 0) throw CFileException(CFileException::generic, m_path);
  return static_cast<uint64_t>(st.st_size);
}

void CFile::SetLength(uint64_t length) {
  if (m_fd < 0 || ftruncate(m_fd, static_cast<off_t>(length)) != 0)
    throw CFileException(CauseOf(errno), m_path, errno);
}

void CFile::SeekToBegin() {
  if (m_fd < 0 || lseek(m_fd, 0, SEEK_SET) < 0) throw CFileException(CFileException::generic, m_path);
}

uint64_t CFile::GetPosition() const {
  const off_t pos = m_fd < 0 ? -1 : lseek(m_fd, 0, SEEK_CUR);
  if (pos < 0) throw CFileException(CFileException::generic, m_path);
  return static_cast<uint64_t>(pos);
}

void CFile::Flush() {
  if (m_fd < 0 || fsync(m_fd) != 0) throw CFileException(CauseOf(errno), m_path, errno);
}

bool FileExists(const std::string& path) {
  struct stat st{};
  return !path.empty() && stat(path.c_str(), &st) == 0;
}

unsigned ProcessUmask() {
  static const unsigned mask = [] {
    // Read without setting it, where the system shows it.
    if (std::FILE* status = std::fopen("/proc/self/status", "re")) {
      char line[256];
      unsigned value = 0;
      bool found = false;
      while (!found && std::fgets(line, sizeof line, status))
        found = std::sscanf(line, "Umask: %o", &value) == 1;
      std::fclose(status);
      if (found) return value & 0777;
    }
    const mode_t old = umask(022);
    umask(old);
    return static_cast<unsigned>(old) & 0777;
  }();
  return mask;
}
