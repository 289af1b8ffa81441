// A quotation source: a plain text file of marker lines, each followed by
// its text (title, subtitle, one quotation per day of a leap year and an
// optional default quotation), and its generation into a quotation file.
#pragma once

#include "common/gennote.h"
#include "platform/datetime.h"
#include "platform/file.h"

#include <string>
#include <vector>

class CQuoteSource {
public:
  static constexpr const char* kTitleMarker = "{*** SHORT TITLE ***}";
  static constexpr const char* kSubtitleMarker = "{*** SUBTITLE ***}";
  static constexpr const char* kDefaultMarker = "{*** DEFAULT QUOTE ***}";
  static constexpr const char* kUntitled = "Untitled Source";
  static constexpr const char* kNoSubtitle = "Source has no subtitle";
  // A marker is looked for only this far behind the previous one.
  static constexpr size_t kWindow = 4096;

  explicit CQuoteSource(std::string path);

  // Opens the source exclusively for reading and closes it again. A missing
  // file is created as the empty source when createIfMissing is set.
  bool CheckSource(bool createIfMissing);
  // Writes the empty source, replacing any file of that name.
  bool CreateTemplate();
  // Checks the source's first three markers and reads title and subtitle
  // for display ("Untitled Source", "Source has no subtitle" when empty).
  bool ReadTitles();
  std::string GetTitle() const { return m_title; }
  std::string GetSubtitle() const { return m_subtitle; }

  // On the open source: looks for marker within the window behind the
  // current position. Found: text is what stood before it (up to a zero
  // byte, trimmed) and the position moves behind the marker. Not found: text
  // is empty and the position stays.
  bool FindMarker(const std::string& marker, std::string* text);
  // Fills doc from the source, opened at its start (opened here if it is
  // not open). A missing marker appends "<marker> not found\r\n" to message.
  bool Parse(CGenNote& doc, std::string& message);
  // Writes the quotation file beside the source; message is the result.
  bool Generate(std::string& message);

  // "{*** Jan 01 ***}" for the date's month and day.
  static std::string DateMarker(const CDateTime& date);
  // The source's path with the extension of its file name replaced by ".day".
  static std::string QuoteFileName(const std::string& sourcePath);

private:
  bool OpenSource();
  void CloseSource();
  // Reads from the file until the window behind the position is full or the
  // file ends. Throws CFileException on a read error.
  void FillWindow();
  // Up to the window's bytes behind the position, cut at a zero, trimmed.
  std::string Remainder();
  bool ParseOpen(CGenNote& doc, std::string& message);
  bool StoreQuoteFile(CGenNote& doc, const std::string& quotePath);

  CFile m_file;
  std::string m_path;
  std::string m_title;
  std::string m_subtitle;
  // Bytes read from the file that lie at and after the current position.
  std::vector<char> m_ahead;
  bool m_atEnd = false;
  bool m_readError = false;
};

// Removes leading and trailing blanks (space, tab, CR, LF, VT, FF).
std::string TrimBlanks(const std::string& text);
