// A file with the framework's open flags and share modes.
//
// Share modes are kept with open-file-description locks, so they hold
// between processes: an exclusive open fails while any other open of the
// file exists, and an open that shares reading and writing does not block
// other such opens.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

class CFileException : public std::runtime_error {
public:
  enum Cause { none, generic, fileNotFound, badPath, accessDenied, sharingViolation, diskFull,
               endOfFile };
  CFileException(Cause cause, const std::string& file, int osError = 0);
  Cause m_cause;
  std::string m_strFileName;
  int m_lOsError;
};

class CFile {
public:
  enum OpenFlags : unsigned {
    modeRead = 0x0000,
    modeWrite = 0x0001,
    modeReadWrite = 0x0002,
    shareCompat = 0x0000,
    shareExclusive = 0x0010,
    shareDenyWrite = 0x0020,
    shareDenyRead = 0x0030,
    shareDenyNone = 0x0040,
    modeNoInherit = 0x0080,
    modeCreate = 0x1000,
    modeNoTruncate = 0x2000,
  };

  CFile() = default;
  ~CFile();
  CFile(const CFile&) = delete;
  CFile& operator=(const CFile&) = delete;

  // Opens the file; on failure returns false and fills error if given.
  bool Open(const std::string& path, unsigned flags, CFileException::Cause* error = nullptr);
  void Close();
  bool IsOpen() const { return m_fd >= 0; }
  const std::string& GetFilePath() const { return m_path; }

  // Creates and opens, for reading and writing, a new file named prefix
  // and six random letters or digits, in the folder prefix names. The name
  // cannot be guessed beforehand, an existing name (a link among them) is
  // never opened, and the file gets mode minus the umask. Its name is then
  // GetFilePath(). False on failure, with the cause in error if given.
  bool CreateUnique(const std::string& prefix, unsigned mode,
                    CFileException::Cause* error = nullptr);

  // Reads up to count bytes; returns how many were read (0 at the end).
  // Throws CFileException on an error.
  size_t Read(void* buffer, size_t count);
  // Writes all bytes or throws CFileException.
  void Write(const void* buffer, size_t count);
  uint64_t GetLength() const;
  void SetLength(uint64_t length);
  void SeekToBegin();
  uint64_t GetPosition() const;
  // Forces written data to the disk; throws on failure.
  void Flush();

private:
  int m_fd = -1;
  std::string m_path;
};

// Whether a file or folder exists at path.
bool FileExists(const std::string& path);

// The process's file mode creation mask, read once on first use (the mask
// is not changed anywhere, so one reading stays true).
unsigned ProcessUmask();
