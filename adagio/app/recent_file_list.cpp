#include "adagio/app/recent_file_list.h"

#include "platform/paths.h"
#include "platform/registry.h"
#include "platform/winapp.h"

#include <algorithm>
#include <cstdio>

namespace {
const std::string kEmpty;
}

CRecentFileList::CRecentFileList(std::string section, std::string entryFormat, int size)
    : m_section(std::move(section)), m_entryFormat(std::move(entryFormat)),
      m_names(static_cast<size_t>(std::max(size, 1))) {}

std::string CRecentFileList::EntryName(int index) const {
  char name[64];
  std::snprintf(name, sizeof name, m_entryFormat.c_str(), index + 1);
  return name;
}

void CRecentFileList::ReadList() {
  CWinApp* app = AfxGetApp();
  for (int i = 0; i < GetSize(); ++i)
    m_names[static_cast<size_t>(i)] = app ? app->GetProfileString(m_section, EntryName(i), "") : "";
}

bool CRecentFileList::WriteList() const {
  CWinApp* app = AfxGetApp();
  if (!app) return false;
  bool ok = true;
  for (int i = 0; i < GetSize(); ++i) {
    const std::string& name = m_names[static_cast<size_t>(i)];
    if (!name.empty()) {
      ok = app->WriteProfileString(m_section, EntryName(i), name) && ok;
      continue;
    }
    if (HKEY key = app->GetSectionKey(m_section)) {
      RegDeleteValue(key, EntryName(i));
      RegCloseKey(key);
    }
  }
  return ok;
}

const std::string& CRecentFileList::operator[](int index) const {
  if (index < 0 || index >= GetSize()) return kEmpty;
  return m_names[static_cast<size_t>(index)];
}

void CRecentFileList::Add(const std::string& path) {
  if (path.empty()) return;
  // File names differ by letter case here, so the comparison is exact.
  auto it = std::find(m_names.begin(), m_names.end(), path);
  if (it == m_names.end()) it = m_names.end() - 1;
  std::rotate(m_names.begin(), it, it + 1);
  m_names.front() = path;
}

std::string CRecentFileList::GetDisplayName(int index, const std::string& currentDir) const {
  const std::string& path = (*this)[index];
  if (path.empty()) return "";
  std::string dir = currentDir;
  if (!dir.empty() && dir.back() != kPathSeparator) dir += kPathSeparator;
  if (!dir.empty() && PathDirectory(path) == dir) return PathFileName(path);
  return AbbreviateName(path, kMaxDisplayLength);
}

std::string CRecentFileList::AbbreviateName(const std::string& path, size_t maxLength) {
  if (path.size() <= maxLength) return path;
  const std::string name = PathFileName(path);
  const std::string ellipsis = std::string(1, kPathSeparator) + "...";
  if (ellipsis.size() + 1 + name.size() > maxLength) return name;
  // Drop leading folders until "/..." and the rest fit.
  size_t from = path.find(kPathSeparator, 1);
  while (from != std::string::npos && ellipsis.size() + (path.size() - from) > maxLength)
    from = path.find(kPathSeparator, from + 1);
  if (from == std::string::npos) return name;
  return ellipsis + path.substr(from);
}
