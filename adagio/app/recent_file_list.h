// The list of recently used files, most recent first, kept in a section of
// the application's profile as "File1".."FileN" (the framework's form).
#pragma once

#include <string>
#include <vector>

class CWinApp;

class CRecentFileList {
public:
  // The framework's display names are at most this long outside the
  // current folder.
  static constexpr size_t kMaxDisplayLength = 30;

  CRecentFileList(std::string section, std::string entryFormat, int size);

  // Reads the entries from the current application's profile; missing ones
  // stay empty in their places.
  void ReadList();
  // Writes the entries; empty places lose their values.
  bool WriteList() const;

  int GetSize() const { return static_cast<int>(m_names.size()); }
  // The entry at index, empty for none.
  const std::string& operator[](int index) const;
  // Moves path to the top, or inserts it there and drops the last entry.
  void Add(const std::string& path);

  // The name to show for entry index: the bare file name when the file lies
  // in currentDir (given with or without its trailing separator),
  // otherwise the path shortened to kMaxDisplayLength. Empty for an empty
  // entry.
  std::string GetDisplayName(int index, const std::string& currentDir) const;

  // "/.../dir/name" shortened until it fits in maxLength; the bare file name
  // when even "/.../name" does not fit.
  static std::string AbbreviateName(const std::string& path, size_t maxLength);

private:
  std::string EntryName(int index) const;

  std::string m_section;
  std::string m_entryFormat;
  std::vector<std::string> m_names;
};
