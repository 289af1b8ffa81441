#include "adagio/quote_source.h"

#include "adagio/res/resource.h"
#include "adagio/res/strings.h"
#include "platform/archive.h"
#include "platform/paths.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr const char* kNotFound = " not found\r\n";
constexpr const char* kCouldNotGenerate = " Could not generate quote file\r\n";
constexpr const char* kGenerated = "The quote file has been generated:\r\n";
constexpr int kSlots = 366;  // days of the leap year the slots are laid on
constexpr int kLayoutYear = 1996;

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

// The bytes up to the first zero, trimmed.
std::string TextOf(const char* data, size_t size) {
  const char* end = std::find(data, data + size, '\0');
  return TrimBlanks(std::string(data, end));
}

void StoreSlot(CGenNote& doc, const std::string& text) {
  doc.GetMonth(doc.GetCurrentMonthIndex()).SetDayText(doc.GetCurrentDay(), CGenNote::Scramble(text));
}

// Opens the source for reading with exclusive access (a regular file only:
// the file layer refuses pipes and devices).
bool OpenExclusive(CFile& file, const std::string& path, CFileException::Cause* cause) {
  return file.Open(path, CFile::modeRead | CFile::shareExclusive, cause);
}

bool SameFile(const std::string& a, const std::string& b) {
  if (a == b) return true;
  std::error_code ec;
  return std::filesystem::equivalent(a, b, ec) && !ec;
}

}  // namespace

std::string TrimBlanks(const std::string& text) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

CQuoteSource::CQuoteSource(std::string path) : m_path(std::move(path)) {}

std::string CQuoteSource::DateMarker(const CDateTime& date) {
  return date.Format("{*** %b %d ***}");
}

std::string CQuoteSource::QuoteFileName(const std::string& sourcePath) {
  // Only a dot inside the file name starts an extension, not one in a folder.
  const size_t slash = sourcePath.find_last_of('/');
  const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
  const size_t dot = sourcePath.find_last_of('.');
  if (dot == std::string::npos || dot < nameStart) return sourcePath + ".day";
  return sourcePath.substr(0, dot) + ".day";
}

bool CQuoteSource::OpenSource() {
  m_ahead.clear();
  m_atEnd = false;
  m_readError = false;
  CFileException::Cause cause = CFileException::none;
  return OpenExclusive(m_file, m_path, &cause);
}

void CQuoteSource::CloseSource() {
  m_file.Close();
  m_ahead.clear();
  m_atEnd = false;
}

bool CQuoteSource::CheckSource(bool createIfMissing) {
  CFileException::Cause cause = CFileException::none;
  if (OpenExclusive(m_file, m_path, &cause)) {
    m_file.Close();
    return true;
  }
  if (cause == CFileException::fileNotFound && createIfMissing) return CreateTemplate();
  return false;
}

bool CQuoteSource::CreateTemplate() {
  std::string text = kTitleMarker;
  text += "\r\n\r\n";
  text += kSubtitleMarker;
  CDateTime date(kLayoutYear, 1, 1);
  for (int day = 0; day < kSlots; ++day, date = date.AddDays(1)) {
    text += "\r\n\r\n";
    text += DateMarker(date);
  }
  text += "\r\n\r\n";

  CFile file;
  if (!file.Open(m_path, CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive))
    return false;
  try {
    file.Write(text.data(), text.size());
  } catch (const CFileException&) {
    file.Close();
    std::remove(m_path.c_str());  // a half-written source is of no use
    return false;
  }
  return true;
}

bool CQuoteSource::ReadTitles() {
  m_title.clear();
  m_subtitle.clear();
  if (!OpenSource()) return false;
  std::string before;
  std::string title;
  std::string subtitle;
  const bool ok = FindMarker(kTitleMarker, &before) && before.empty() &&
                  FindMarker(kSubtitleMarker, &title) &&
                  FindMarker(DateMarker(CDateTime(kLayoutYear, 1, 1)), &subtitle) &&
                  !m_readError;
  CloseSource();
  if (!ok) return false;
  m_title = title.empty() ? kUntitled : title;
  m_subtitle = subtitle.empty() ? kNoSubtitle : subtitle;
  return true;
}

void CQuoteSource::FillWindow() {
  while (!m_atEnd && m_ahead.size() < kWindow) {
    const size_t have = m_ahead.size();
    m_ahead.resize(kWindow);
    size_t got = 0;
    try {
      got = m_file.Read(m_ahead.data() + have, kWindow - have);
    } catch (const CFileException&) {
      m_readError = true;  // what was read stays; the data ends here
    }
    m_ahead.resize(have + got);
    if (got < kWindow - have) m_atEnd = true;
  }
}

bool CQuoteSource::FindMarker(const std::string& marker, std::string* text) {
  if (text) text->clear();
  if (!m_file.IsOpen()) return false;
  FillWindow();
  const size_t n = std::min(m_ahead.size(), kWindow);
  const size_t at = std::string_view(m_ahead.data(), n).find(marker);
  if (at == std::string_view::npos) return false;
  if (text) *text = TextOf(m_ahead.data(), at);
  m_ahead.erase(m_ahead.begin(), m_ahead.begin() + static_cast<std::ptrdiff_t>(at + marker.size()));
  return true;
}

std::string CQuoteSource::Remainder() {
  FillWindow();
  return TextOf(m_ahead.data(), std::min(m_ahead.size(), kWindow));
}

bool CQuoteSource::Parse(CGenNote& doc, std::string& message) {
  if (m_file.IsOpen()) return ParseOpen(doc, message);
  if (!OpenSource()) {
    message = AdagioString(IDS_SOURCE_INACCESSIBLE);
    return false;
  }
  const bool ok = ParseOpen(doc, message);
  CloseSource();
  return ok;
}

bool CQuoteSource::ParseOpen(CGenNote& doc, std::string& message) {
  doc.Clear();
  message.clear();
  int cycle = 1;
  CDateTime date(kLayoutYear, 1, 1);
  std::string text;
  auto missing = [&](const std::string& marker) {
    // A source that could not be read to its end is reported as such.
    message = m_readError ? AdagioString(IDS_SOURCE_INACCESSIBLE) : marker + kNotFound;
    return false;
  };

  if (!FindMarker(kTitleMarker, &text)) return missing(kTitleMarker);
  if (!FindMarker(kSubtitleMarker, &text)) return missing(kSubtitleMarker);
  doc.SetTitle(text);
  std::string marker = DateMarker(date);
  if (!FindMarker(marker, &text)) return missing(marker);
  doc.SetSubtitle(text);

  for (int slot = 0; slot < kSlots - 1; ++slot) {
    doc.SetDate(date);
    date = date.AddDays(1);
    marker = DateMarker(date);
    if (!FindMarker(marker, &text)) return missing(marker);
    StoreSlot(doc, text);
    if (!text.empty()) cycle = slot + 1;
  }

  // The last slot's text ends at the default marker, or runs to the end.
  doc.SetDate(date);
  const bool hasDefault = FindMarker(kDefaultMarker, &text);
  if (hasDefault) {
    StoreSlot(doc, text);
    if (!text.empty()) cycle = kSlots;
  }
  const std::string rest = Remainder();
  if (m_readError) {
    message = AdagioString(IDS_SOURCE_INACCESSIBLE);
    return false;
  }
  if (hasDefault)
    doc.SetDefaultQuote(rest);
  else
    StoreSlot(doc, rest);
  if (!rest.empty()) cycle = kSlots;
  doc.SetCycleLength(cycle);
  return true;
}

bool CQuoteSource::Generate(std::string& message) {
  message.clear();
  if (!OpenSource()) {
    message = AdagioString(IDS_SOURCE_INACCESSIBLE) + kCouldNotGenerate;
    return false;
  }
  CGenNote doc;
  const bool parsed = ParseOpen(doc, message);
  CloseSource();
  if (!parsed) {
    message += kCouldNotGenerate;
    return false;
  }

  const std::string quotePath = QuoteFileName(m_path);
  // A source already named *.day would be overwritten by its own output.
  if (SameFile(quotePath, m_path) || !StoreQuoteFile(doc, quotePath)) {
    message = AdagioString(IDS_QUOTE_FILE_INACCESSIBLE);
    return false;
  }
  message = kGenerated + quotePath;
  return true;
}

// Holds the quotation file exclusively (which fails while another program,
// such as Orrery, has it open), writes the document to a file beside it and
// renames that over it, so a failure at any point leaves the old file whole.
bool CQuoteSource::StoreQuoteFile(CGenNote& doc, const std::string& name) {
  // A link is followed, so that the file it names is the one replaced.
  std::error_code ec;
  const std::filesystem::path target = std::filesystem::canonical(name, ec);
  const std::string quotePath = ec ? name : target.string();
  const bool existed = FileExists(quotePath);
  struct stat oldStat{};
  const bool haveMode = existed && stat(quotePath.c_str(), &oldStat) == 0;

  CFile hold;
  if (!hold.Open(quotePath, CFile::modeReadWrite | CFile::modeCreate | CFile::modeNoTruncate |
                                CFile::shareExclusive))
    return false;
  // A short name, so that it fits wherever the quotation file's name does;
  // unguessable and made new (never through a link), so that no file
  // planted beside the quotation file is written. Quotation files are
  // shared: the umask alone decides who may read a new one.
  CFile out;
  if (!out.CreateUnique(PathDirectory(quotePath) + ".quote-", 0666)) {
    if (!existed) std::remove(quotePath.c_str());
    return false;
  }
  const std::string tempPath = out.GetFilePath();
  auto fail = [&] {
    out.Close();
    std::remove(tempPath.c_str());
    if (!existed) std::remove(quotePath.c_str());
    return false;
  };

  try {
    CArchive ar(&out, CArchive::store);
    doc.Serialize(ar);
    ar.Close();
    out.Flush();
  } catch (const CFileException&) {
    return fail();
  } catch (const CArchiveException&) {
    return fail();
  }
  out.Close();
  if (haveMode) chmod(tempPath.c_str(), oldStat.st_mode & 07777);
  if (std::rename(tempPath.c_str(), quotePath.c_str()) != 0) return fail();
  return true;
}
