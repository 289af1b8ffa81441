// The list of up to six quotation files, the current one kept loaded, and
// the daily quotation from it.
#pragma once

#include "common/gennote.h"
#include "platform/datetime.h"
#include "platform/file.h"

#include <string>

// Loads a quotation file into document through file, which stays open for
// shared reading; false, with document partly read, on any error.
bool ReadQuoteFile(CFile& file, const std::string& path, CGenNote& document);

class CQuoteList {
public:
  static constexpr int kSlots = 6;

  // Reads the slots and the current index and loads the current file.
  CQuoteList();
  // Writes the slots and the index when they changed.
  virtual ~CQuoteList();
  CQuoteList(const CQuoteList&) = delete;
  CQuoteList& operator=(const CQuoteList&) = delete;

  // The slots in the machine-wide "QFile0".."QFile5" sections.
  void LoadList();
  void SaveList();
  // The current index in the per-user "Options"/"Quote".
  void SaveIndex();

  int GetCurrent() const { return m_current; }
  bool IsModified() const { return m_modified; }
  // Chooses slot index (0 for none) and loads its file, even when unchanged.
  bool SetCurrent(int index);
  bool LoadCurrentFile();

  // Slot 1..6, or 0 for the current slot; "" for an empty slot or another index.
  std::string GetFullPath(int index) const;
  // The slot's title, "Untitled Quotation File" for a filled slot without one.
  std::string GetTitle(int index) const;
  std::string GetCurrentTitle() const;
  std::string GetCurrentSubtitle() const { return m_document.GetSubtitle(); }

  void SetDate(const CDateTime& date) { m_document.SetDate(date); }
  // Writes a changed list first, then the current file's quotation for the date.
  std::string GetDailyQuote();

  // Puts the quotation file at path into its own slot (the same path in any
  // case), the first empty slot, or slot 6 when all are filled. Returns the
  // slot, or 0 when the file cannot be read or its folder or name is too
  // long to be kept in the list.
  int AddFile(const std::string& path);
  // Empties slot index and moves the later slots up; returns the slot that
  // should become current.
  int RemoveFile(int index);

private:
  static bool InRange(int index) { return index >= 1 && index <= kSlots; }

  int m_current = 0;
  bool m_modified = false;
  CFile m_file;
  CGenNote m_document;
  std::string m_names[kSlots];
  std::string m_directories[kSlots];
  std::string m_titles[kSlots];
};
