#include "orrery/quotes/quote_list.h"

#include "orrery/app/settings_store.h"
#include "orrery/res/resource.h"
#include "platform/archive.h"
#include "platform/paths.h"
#include "platform/strings.h"

#include <clocale>
#include <cwctype>
#include <filesystem>
#include <locale.h>

namespace {

constexpr const char* kOptions = "Options";
constexpr const char* kQuote = "Quote";
// Machine-wide strings of this many bytes or more (with the zero) do not read back.
constexpr size_t kMachineValueLimit = 150;

std::string Section(int slot) { return "QFile" + std::to_string(slot - 1); }

std::string Untitled() {
  std::string text = LoadString(IDS_UNTITLED_QUOTE_FILE);
  return text.empty() ? "Untitled Quotation File" : text;
}

// The next character of UTF-8 text, or the byte itself when it starts no
// valid sequence.
char32_t NextChar(const std::string& s, size_t& i) {
  const auto b = static_cast<unsigned char>(s[i]);
  const int length = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
  if (length > 1 && i + length <= s.size()) {
    char32_t c = b & (0x7F >> length);
    bool valid = true;
    for (int k = 1; k < length; ++k) {
      const auto t = static_cast<unsigned char>(s[i + k]);
      valid = valid && (t >> 6) == 2;
      c = (c << 6) | (t & 0x3F);
    }
    if (valid) {
      i += length;
      return c;
    }
  }
  ++i;
  return b < 0x80 ? b : 0x110000 + b;  // a stray byte matches only itself
}

// Case-insensitive comparison that folds whole characters, never parts of one.
bool SamePath(const std::string& a, const std::string& b) {
  static const locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
  auto fold = [](char32_t c) -> char32_t {
    if (c < 0x80) return (c >= 'A' && c <= 'Z') ? c + 32 : c;
    if (c >= 0x110000 || !utf8) return c;
    return static_cast<char32_t>(towlower_l(static_cast<wint_t>(c), utf8));
  };
  size_t i = 0, j = 0;
  while (i < a.size() && j < b.size())
    if (fold(NextChar(a, i)) != fold(NextChar(b, j))) return false;
  return i == a.size() && j == b.size();
}

// text cut to what the machine-wide profile reads back, never inside a
// UTF-8 character.
std::string Storable(std::string text) {
  if (text.size() < kMachineValueLimit) return text;
  size_t end = kMachineValueLimit - 1;
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  text.resize(end);
  return text;
}

}  // namespace

bool ReadQuoteFile(CFile& file, const std::string& path, CGenNote& document) {
  if (path.empty() || !file.Open(path, CFile::modeRead | CFile::shareDenyNone)) return false;
  try {
    CArchive ar(&file, CArchive::load);
    document.Serialize(ar);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

CQuoteList::CQuoteList() {
  LoadList();
  if (CWinApp* app = AfxGetApp()) m_current = app->GetProfileInt(kOptions, kQuote, 0);
  LoadCurrentFile();
}

CQuoteList::~CQuoteList() {
  if (m_modified) {
    SaveList();
    SaveIndex();
  }
}

void CQuoteList::LoadList() {
  CSettingsApp* app = GetSettingsApp();
  for (int slot = 1; slot <= kSlots; ++slot) {
    const std::string section = Section(slot);
    m_directories[slot - 1] = app ? app->GetMachineProfileString(section, "Path", "") : "";
    m_names[slot - 1] = app ? app->GetMachineProfileString(section, "File", "") : "";
    m_titles[slot - 1] = app ? app->GetMachineProfileString(section, "Title", "") : "";
  }
  m_modified = false;
}

void CQuoteList::SaveList() {
  if (CSettingsApp* app = GetSettingsApp()) {
    for (int slot = 1; slot <= kSlots; ++slot) {
      const std::string section = Section(slot);
      app->WriteMachineProfileString(section, "Path", m_directories[slot - 1]);
      app->WriteMachineProfileString(section, "File", m_names[slot - 1]);
      app->WriteMachineProfileString(section, "Title", m_titles[slot - 1]);
    }
  }
  m_modified = false;
}

void CQuoteList::SaveIndex() {
  if (CWinApp* app = AfxGetApp()) app->WriteProfileInt(kOptions, kQuote, m_current);
}

bool CQuoteList::SetCurrent(int index) {
  if (index != m_current) m_modified = true;
  m_current = index;
  return LoadCurrentFile();
}

bool CQuoteList::LoadCurrentFile() {
  m_file.Close();
  if (ReadQuoteFile(m_file, GetFullPath(0), m_document)) return true;
  m_file.Close();
  m_document.Clear();
  return false;
}

std::string CQuoteList::GetFullPath(int index) const {
  if (index == 0) index = m_current;
  if (!InRange(index) || m_names[index - 1].empty()) return {};
  return m_directories[index - 1] + m_names[index - 1];
}

std::string CQuoteList::GetTitle(int index) const {
  if (!InRange(index) || m_names[index - 1].empty()) return {};
  return m_titles[index - 1].empty() ? Untitled() : m_titles[index - 1];
}

std::string CQuoteList::GetCurrentTitle() const {
  if (m_current <= 0) return {};
  const std::string title = m_document.GetTitle();
  return title.empty() ? Untitled() : title;
}

std::string CQuoteList::GetDailyQuote() {
  if (m_modified) {
    SaveList();  // clears the flag
    SaveIndex();
  }
  return m_document.GetDailyQuote();
}

int CQuoteList::AddFile(const std::string& path) {
  std::error_code ec;
  // The full path as the system names it: absolute, without "." or "..".
  const std::string full =
      path.empty() ? path : std::filesystem::absolute(path, ec).lexically_normal().string();
  const std::string directory = PathDirectory(full);
  const std::string name = PathFileName(full);
  if (ec || name.empty() || directory.size() >= kMachineValueLimit ||
      name.size() >= kMachineValueLimit)
    return 0;
  CGenNote document;
  {
    CFile file;
    if (!ReadQuoteFile(file, full, document)) return 0;
  }
  int slot = 1;
  while (slot <= kSlots && !m_names[slot - 1].empty() && !SamePath(GetFullPath(slot), full))
    ++slot;
  if (slot > kSlots) slot = kSlots;
  m_directories[slot - 1] = directory;
  m_names[slot - 1] = name;
  m_titles[slot - 1] = Storable(document.GetTitle().empty() ? Untitled() : document.GetTitle());
  m_modified = true;
  return slot;
}

int CQuoteList::RemoveFile(int index) {
  if (!InRange(index)) return m_current;
  for (int slot = index; slot < kSlots; ++slot) {
    m_directories[slot - 1] = m_directories[slot];
    m_names[slot - 1] = m_names[slot];
    m_titles[slot - 1] = m_titles[slot];
  }
  m_directories[kSlots - 1].clear();
  m_names[kSlots - 1].clear();
  m_titles[kSlots - 1].clear();
  m_modified = true;
  return m_names[index - 1].empty() ? index - 1 : index;
}
