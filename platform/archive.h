// A buffered little-endian byte stream over a file, in one direction.
#pragma once

#include "platform/file.h"

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

class CArchiveException : public std::runtime_error {
public:
  enum Cause { none, genericException, readOnly, endOfFile, writeOnly, badIndex, badClass,
               badSchema };
  explicit CArchiveException(Cause cause, const std::string& file = {});
  Cause m_cause;
  std::string m_strFileName;
};

class CArchive {
public:
  enum Mode { load = 1, store = 0 };

  // The file must stay open while the archive is used.
  CArchive(CFile* file, Mode mode);
  // Flushes a storing archive; errors there are swallowed, so call Close.
  ~CArchive();
  CArchive(const CArchive&) = delete;
  CArchive& operator=(const CArchive&) = delete;

  bool IsLoading() const { return m_mode == load; }
  bool IsStoring() const { return m_mode == store; }
  CFile* GetFile() const { return m_file; }

  // Writes what is buffered; throws CFileException when the file refuses it.
  void Flush();
  // Flushes and detaches from the file.
  void Close();

  // Raw bytes. Read returns the count read, which is short only at the end.
  size_t Read(void* buffer, size_t count);
  void Write(const void* buffer, size_t count);
  // Reads exactly count bytes or throws the end-of-file error.
  void ReadExact(void* buffer, size_t count);

  CArchive& operator<<(uint8_t v) { return PutLE(v, 1); }
  CArchive& operator<<(uint16_t v) { return PutLE(v, 2); }
  CArchive& operator<<(int32_t v) { return PutLE(static_cast<uint32_t>(v), 4); }
  CArchive& operator<<(uint32_t v) { return PutLE(v, 4); }
  CArchive& operator<<(uint64_t v) { return PutLE(v, 8); }

  CArchive& operator>>(uint8_t& v) { v = static_cast<uint8_t>(GetLE(1)); return *this; }
  CArchive& operator>>(uint16_t& v) { v = static_cast<uint16_t>(GetLE(2)); return *this; }
  CArchive& operator>>(int32_t& v) { v = static_cast<int32_t>(static_cast<uint32_t>(GetLE(4))); return *this; }
  CArchive& operator>>(uint32_t& v) { v = static_cast<uint32_t>(GetLE(4)); return *this; }
  CArchive& operator>>(uint64_t& v) { v = GetLE(8); return *this; }

  // Bytes not yet read (loading only).
  uint64_t Remaining();

private:
  CArchive& PutLE(uint64_t v, int bytes);
  uint64_t GetLE(int bytes);
  void Fill();

  CFile* m_file;
  Mode m_mode;
  std::vector<uint8_t> m_buffer;
  size_t m_pos = 0;   // next byte to read
  size_t m_end = 0;   // bytes in the buffer
};
