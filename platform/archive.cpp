#include "platform/archive.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr size_t kBufferSize = 4096;

const char* CauseText(CArchiveException::Cause cause) {
  switch (cause) {
    case CArchiveException::endOfFile: return "unexpected end of file";
    case CArchiveException::badSchema: return "unknown file format";
    case CArchiveException::readOnly: return "archive is loading";
    case CArchiveException::writeOnly: return "archive is storing";
    default: return "archive error";
  }
}
}  // namespace

CArchiveException::CArchiveException(Cause cause, const std::string& file)
    : std::runtime_error(std::string(CauseText(cause)) + (file.empty() ? "" : " in " + file)),
      m_cause(cause), m_strFileName(file) {}

CArchive::CArchive(CFile* file, Mode mode) : m_file(file), m_mode(mode), m_buffer(kBufferSize) {}

CArchive::~CArchive() {
  try {
    Close();
  } catch (...) {
  }
}

void CArchive::Flush() {
  if (!m_file || m_mode != store || m_end == 0) return;
  const size_t n = m_end;
  m_end = 0;
  m_file->Write(m_buffer.data(), n);
}

void CArchive::Close() {
  if (!m_file) return;
  Flush();
  m_file = nullptr;
}

void CArchive::Fill() {
  m_pos = 0;
  m_end = m_file ? m_file->Read(m_buffer.data(), m_buffer.size()) : 0;
}

size_t CArchive::Read(void* buffer, size_t count) {
  if (m_mode != load) throw CArchiveException(CArchiveException::writeOnly);
  auto* out = static_cast<uint8_t*>(buffer);
  size_t done = 0;
  while (done < count) {
    if (m_pos == m_end) {
      Fill();
      if (m_end == 0) break;
    }
    const size_t n = std::min(count - done, m_end - m_pos);
    std::memcpy(out + done, m_buffer.data() + m_pos, n);
    m_pos += n;
    done += n;
  }
  return done;
}

void CArchive::ReadExact(void* buffer, size_t count) {
  if (Read(buffer, count) != count)
    throw CArchiveException(CArchiveException::endOfFile, m_file ? m_file->GetFilePath() : "");
}

void CArchive::Write(const void* buffer, size_t count) {
  if (m_mode != store) throw CArchiveException(CArchiveException::readOnly);
  const auto* in = static_cast<const uint8_t*>(buffer);
  while (count > 0) {
    if (m_end == m_buffer.size()) Flush();
    const size_t n = std::min(count, m_buffer.size() - m_end);
    std::memcpy(m_buffer.data() + m_end, in, n);
    m_end += n;
    in += n;
    count -= n;
  }
}

CArchive& CArchive::PutLE(uint64_t v, int bytes) {
  uint8_t b[8];
  for (int i = 0; i < bytes; ++i) b[i] = static_cast<uint8_t>(v >> (8 * i));
  Write(b, static_cast<size_t>(bytes));
  return *this;
}

uint64_t CArchive::GetLE(int bytes) {
  uint8_t b[8];
  ReadExact(b, static_cast<size_t>(bytes));
  uint64_t v = 0;
  for (int i = 0; i < bytes; ++i) v |= static_cast<uint64_t>(b[i]) << (8 * i);
  return v;
}

uint64_t CArchive::Remaining() {
  if (m_mode != load || !m_file) return 0;
  const uint64_t length = m_file->GetLength();
  const uint64_t position = m_file->GetPosition();
  return (length > position ? length - position : 0) + (m_end - m_pos);
}
