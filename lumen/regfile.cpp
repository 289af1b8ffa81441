#include "lumen/regfile.h"

#include <cctype>
#include <cstdio>
#include <memory>

namespace {

constexpr size_t kWrapColumn = 77;

std::string JoinKey(const std::string& path, const std::string& child) {
  return path.empty() ? child : path + "\\" + child;
}

std::string Quote(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  return out + "\"";
}

// Whether REG_SZ data is text and its zero, so the quoted form keeps it.
bool IsPlainString(const std::vector<uint8_t>& data) {
  if (data.empty() || data.back() != 0) return false;
  for (size_t i = 0; i + 1 < data.size(); ++i)
    if (data[i] < 0x20 || data[i] == 0x7F) return false;
  return true;
}

std::string HexValue(const std::string& prefix, const std::vector<uint8_t>& data) {
  std::string out;
  std::string line = prefix;
  for (size_t i = 0; i < data.size(); ++i) {
    char token[4];
    std::snprintf(token, sizeof token, i + 1 < data.size() ? "%02x," : "%02x", data[i]);
    if (line.size() + std::string(token).size() > kWrapColumn && line != "  ") {
      out += line + "\\\n";
      line = "  ";
    }
    line += token;
  }
  return out + line;
}

bool Writable(HKEY root, const std::string& path) {
  HKEY key = nullptr;
  const long rc = RegOpenKeyEx(root, path, KEY_READ | KEY_WRITE, &key);
  if (rc == ERROR_SUCCESS) RegCloseKey(key);
  return rc != ERROR_ACCESS_DENIED;
}

std::string KeyName(HKEY root, const std::string& path) {
  return RootName(root) + (path.empty() ? "" : "\\" + path);
}

// Why a call on the key failed: the storage problem, else the code.
std::string CallError(const char* what, HKEY root, const std::string& path, long rc) {
  std::string why = RegLastErrorText();
  if (why.empty()) why = "registry error " + std::to_string(rc);
  return std::string("cannot ") + what + " " + KeyName(root, path) + ": " + why;
}

// Appends the key and everything below it; false, with error set, when any
// of it cannot be read.
bool ExportKey(HKEY root, const std::string& path, bool keepReadOnly, std::string* out,
               std::string* error) {
  HKEY key = nullptr;
  long rc = RegOpenKeyEx(root, path, KEY_READ, &key);
  if (rc != ERROR_SUCCESS) {
    *error = CallError("read", root, path, rc);
    return false;
  }
  std::string block;
  RegFileValue value;
  uint32_t i = 0;
  while ((rc = RegEnumValue(key, i, &value.name, &value.type, &value.data)) == ERROR_SUCCESS) {
    block += FormatRegValue(value) + "\n";
    ++i;
  }
  std::vector<std::string> children;
  if (rc == ERROR_NO_MORE_ITEMS) {
    std::string child;
    i = 0;
    while ((rc = RegEnumKeyEx(key, i, &child)) == ERROR_SUCCESS) {
      children.push_back(child);
      ++i;
    }
  }
  if (rc != ERROR_NO_MORE_ITEMS) *error = CallError("read", root, path, rc);
  RegCloseKey(key);
  if (rc != ERROR_NO_MORE_ITEMS) return false;
  if (!path.empty() || !block.empty()) *out += "[" + KeyName(root, path) + "]\n" + block + "\n";
  for (const std::string& name : children) {
    const std::string childPath = JoinKey(path, name);
    if (!keepReadOnly && IsReadOnlySubtree(root, childPath)) continue;
    if (!ExportKey(root, childPath, keepReadOnly, out, error)) return false;
  }
  return true;
}

// Reading one logical line.
class Cursor {
public:
  explicit Cursor(const std::string& text) : m_text(text) {}
  bool AtEnd() const { return m_pos >= m_text.size(); }
  char Peek() const { return AtEnd() ? '\0' : m_text[m_pos]; }
  bool Take(const std::string& word) {
    if (m_text.compare(m_pos, word.size(), word) != 0) return false;
    m_pos += word.size();
    return true;
  }
  void SkipBlanks() {
    while (!AtEnd() && (Peek() == ' ' || Peek() == '\t')) ++m_pos;
  }
  // A quoted string with \\ and \" escapes; false when it is malformed.
  bool QuotedString(std::string* out, std::string* error) {
    if (!Take("\"")) return Fail(error, "expected '\"'");
    out->clear();
    while (!AtEnd()) {
      const char c = m_text[m_pos++];
      if (c == '"') return true;
      if (c == '\\') {
        if (AtEnd() || (Peek() != '\\' && Peek() != '"'))
          return Fail(error, "unknown escape in a quoted string (only \\\\ and \\\" are allowed)");
        *out += m_text[m_pos++];
      } else {
        *out += c;
      }
    }
    return Fail(error, "unterminated quoted string");
  }
  bool HexBytes(std::vector<uint8_t>* out, std::string* error) {
    out->clear();
    SkipBlanks();
    if (AtEnd()) return true;
    for (;;) {
      SkipBlanks();
      const std::string digits = HexDigits(3);
      if (digits.empty() || digits.size() > 2) return Fail(error, "expected a byte of two hex digits");
      out->push_back(static_cast<uint8_t>(std::stoul(digits, nullptr, 16)));
      SkipBlanks();
      if (AtEnd()) return true;
      if (!Take(",")) return Fail(error, "expected ',' between hex bytes");
      SkipBlanks();
      if (AtEnd()) return true;  // a trailing comma
    }
  }
  // Up to max hex digits from the position.
  std::string HexDigits(size_t max) {
    std::string digits;
    while (!AtEnd() && std::isxdigit(static_cast<unsigned char>(Peek())) && digits.size() < max)
      digits += m_text[m_pos++];
    return digits;
  }
  std::string Rest() const { return m_text.substr(m_pos); }

private:
  static bool Fail(std::string* error, const std::string& text) {
    *error = text;
    return false;
  }
  const std::string& m_text;
  size_t m_pos = 0;
};

bool ParseValueLine(const std::string& line, RegFileValue* value, std::string* error) {
  Cursor c(line);
  if (c.Take("@")) {
    value->name.clear();
  } else if (!c.QuotedString(&value->name, error)) {
    return false;
  }
  c.SkipBlanks();
  if (!c.Take("=")) {
    *error = "expected '=' after the value name";
    return false;
  }
  c.SkipBlanks();
  if (c.Peek() == '"') {
    std::string text;
    if (!c.QuotedString(&text, error)) return false;
    value->type = REG_SZ;
    value->data.assign(text.begin(), text.end());
    value->data.push_back(0);
  } else if (c.Take("dword:")) {
    const std::string digits = c.Rest();
    size_t n = 0;
    while (n < digits.size() && std::isxdigit(static_cast<unsigned char>(digits[n]))) ++n;
    if (n == 0 || n > 8 || digits.find_first_not_of(" \t", n) != std::string::npos) {
      *error = "expected dword: and up to eight hex digits";
      return false;
    }
    const uint32_t v = static_cast<uint32_t>(std::stoul(digits.substr(0, n), nullptr, 16));
    value->type = REG_DWORD;
    value->data = {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8),
                   static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 24)};
    return true;
  } else if (c.Take("hex:")) {
    value->type = REG_BINARY;
    if (!c.HexBytes(&value->data, error)) return false;
  } else if (c.Take("hex(")) {
    const std::string digits = c.HexDigits(9);
    if (digits.empty() || digits.size() > 8 || !c.Take("):")) {
      *error = "expected hex(TYPE): with the type in hex digits";
      return false;
    }
    value->type = static_cast<uint32_t>(std::stoul(digits, nullptr, 16));
    if (!c.HexBytes(&value->data, error)) return false;
    if (value->type == REG_DWORD && value->data.size() != 4) {
      *error = "a dword value needs exactly four bytes";
      return false;
    }
  } else if (c.Take("-")) {
    *error = "deleting values is not supported";
    return false;
  } else {
    *error = "expected \"text\", dword:, hex: or hex(TYPE): after '='";
    return false;
  }
  c.SkipBlanks();
  if (!c.AtEnd()) {
    *error = "unexpected text after the value: '" + c.Rest() + "'";
    return false;
  }
  return true;
}

std::string Trim(const std::string& s) {
  size_t b = 0, e = s.size();
  while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
  while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t')) --e;
  return s.substr(b, e - b);
}

}  // namespace

bool SplitKeyName(const std::string& name, HKEY* root, std::string* path) {
  const size_t slash = name.find('\\');
  const std::string head = name.substr(0, slash);
  auto same = [&](const char* word) {
    if (head.size() != std::string(word).size()) return false;
    for (size_t i = 0; i < head.size(); ++i)
      if (std::toupper(static_cast<unsigned char>(head[i])) != word[i]) return false;
    return true;
  };
  if (same("HKEY_CURRENT_USER") || same("HKCU"))
    *root = HKEY_CURRENT_USER;
  else if (same("HKEY_LOCAL_MACHINE") || same("HKLM"))
    *root = HKEY_LOCAL_MACHINE;
  else
    return false;
  // Empty components ("a\\b", a trailing '\') are dropped.
  path->clear();
  std::string part;
  const std::string rest = slash == std::string::npos ? "" : name.substr(slash + 1) + "\\";
  for (char ch : rest) {
    if (ch != '\\') {
      part += ch;
    } else if (!part.empty()) {
      *path = JoinKey(*path, part);
      part.clear();
    }
  }
  return true;
}

std::string RootName(HKEY root) {
  return root == HKEY_LOCAL_MACHINE ? "HKEY_LOCAL_MACHINE" : "HKEY_CURRENT_USER";
}

std::string FormatRegValue(const RegFileValue& value) {
  const std::string name = value.name.empty() ? "@" : Quote(value.name);
  if (value.type == REG_SZ && IsPlainString(value.data))
    return name + "=" +
           Quote(std::string(value.data.begin(), value.data.end() - 1));
  if (value.type == REG_DWORD && value.data.size() == 4) {
    const uint32_t v = value.data[0] | (value.data[1] << 8) | (value.data[2] << 16) |
                       (static_cast<uint32_t>(value.data[3]) << 24);
    char text[16];
    std::snprintf(text, sizeof text, "dword:%08x", v);
    return name + "=" + text;
  }
  if (value.type == REG_BINARY) return HexValue(name + "=hex:", value.data);
  char prefix[24];
  std::snprintf(prefix, sizeof prefix, "=hex(%x):", value.type);
  return HexValue(name + prefix, value.data);
}

bool IsReadOnlySubtree(HKEY root, const std::string& path) {
  if (!Writable(root, "")) return false;  // the hive itself refuses writes
  // The deepest key on the path that exists decides.
  std::string probe = path;
  for (;;) {
    HKEY key = nullptr;
    if (RegOpenKeyEx(root, probe, KEY_READ, &key) == ERROR_SUCCESS) {
      RegCloseKey(key);
      return !Writable(root, probe);
    }
    if (probe.empty()) return false;
    const size_t slash = probe.find_last_of('\\');
    probe = slash == std::string::npos ? "" : probe.substr(0, slash);
  }
}

bool ExportRegistry(HKEY root, const std::string& path, std::string* out, std::string* error) {
  if (const std::string failure = RegHiveFailure(root); !failure.empty()) {
    *error = failure;
    return false;
  }
  // One state of the hive throughout, even while others write to it.
  CRegTransaction snapshot(root, CRegTransaction::kRead);
  if (!snapshot.IsOpen()) {
    *error = CallError("read", root, path, ERROR_CANTREAD);
    return false;
  }
  HKEY key = nullptr;
  const long rc = RegOpenKeyEx(root, path, KEY_READ, &key);
  if (rc == ERROR_FILE_NOT_FOUND) {
    *error = "no such key: " + KeyName(root, path);
    return false;
  }
  if (rc != ERROR_SUCCESS) {
    *error = CallError("read", root, path, rc);
    return false;
  }
  RegCloseKey(key);
  std::string text;
  if (!ExportKey(root, path, !path.empty() && IsReadOnlySubtree(root, path), &text, error)) return false;
  if (const long end = snapshot.Commit(); end != ERROR_SUCCESS) {
    *error = CallError("read", root, path, end);
    return false;
  }
  *out += text;
  return true;
}

bool ParseRegFile(const std::string& text, std::vector<RegFileKey>* keys, std::string* error) {
  // Lines, without their CR, joined where a line ends in '\'.
  std::vector<std::pair<int, std::string>> lines;
  size_t pos = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
  int number = 0;
  bool joining = false;  // the line read goes on the last one
  while (pos < text.size()) {
    bool continued = joining;
    size_t end = text.find('\n', pos);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(pos, end - pos);
    pos = end + 1;
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    // Only a value line (a long hex value) goes on in the next line. Each
    // piece is looked at alone, so that a value of many lines is read in
    // time proportional to its length.
    std::string piece = continued ? Trim(line) : std::move(line);
    if (!continued) {
      const size_t first = piece.find_first_not_of(" \t");
      continued = first != std::string::npos && (piece[first] == '"' || piece[first] == '@');
    }
    size_t last = piece.find_last_not_of(" \t");
    last = last == std::string::npos ? 0 : last + 1;
    continued = continued && last > 0 && piece[last - 1] == '\\';
    if (continued) piece.erase(last - 1);
    if (lines.empty() || !joining)
      lines.emplace_back(number, std::move(piece));
    else
      lines.back().second += piece;
    joining = continued;
  }

  auto fail = [&](int line, const std::string& why) {
    *error = "line " + std::to_string(line) + ": " + why;
    return false;
  };
  keys->clear();
  bool headerSeen = false;
  for (const auto& [line, raw] : lines) {
    const std::string content = Trim(raw);
    if (content.empty() || content[0] == ';') continue;
    if (!headerSeen) {
      if (content != kRegFileHeader) return fail(line, std::string("expected \"") + kRegFileHeader + "\"");
      headerSeen = true;
      continue;
    }
    if (content[0] == '[') {
      if (content.back() != ']') return fail(line, "a key line must end with ']'");
      const std::string name = content.substr(1, content.size() - 2);
      if (!name.empty() && name[0] == '-') return fail(line, "deleting keys is not supported");
      RegFileKey key;
      key.line = line;
      if (!SplitKeyName(name, &key.root, &key.path))
        return fail(line, "unknown root key in '" + name + "' (HKEY_CURRENT_USER or HKEY_LOCAL_MACHINE)");
      keys->push_back(key);
      continue;
    }
    if (content[0] != '"' && content[0] != '@') return fail(line, "not a key, a value or a comment");
    if (keys->empty()) return fail(line, "a value before the first key");
    RegFileValue value;
    std::string why;
    if (!ParseValueLine(content, &value, &why)) return fail(line, why);
    keys->back().values.push_back(value);
  }
  if (!headerSeen) return fail(number == 0 ? 1 : number, std::string("expected \"") + kRegFileHeader + "\"");
  return true;
}

bool ApplyRegFile(const std::vector<RegFileKey>& keys, std::vector<std::string>* skipped,
                  std::string* error) {
  // A hive that refuses writes is found before anything changes.
  std::vector<bool> skip;
  bool used[2] = {false, false};  // HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE
  for (const RegFileKey& k : keys) {
    skip.push_back(IsReadOnlySubtree(k.root, k.path));
    if (skip.back()) continue;
    if (!Writable(k.root, "")) {
      *error = RegLastErrorText();
      if (error->empty()) *error = "the registry " + RootName(k.root) + " cannot be written";
      return false;
    }
    used[k.root == HKEY_LOCAL_MACHINE] = true;
  }
  // Each hive's part lands whole or not at all. The hives are always
  // locked in the same order, so two imports never wait for each other.
  std::unique_ptr<CRegTransaction> transactions[2];
  for (int h = 0; h < 2; ++h) {
    if (!used[h]) continue;
    const HKEY root = h == 0 ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
    transactions[h] = std::make_unique<CRegTransaction>(root);
    if (!transactions[h]->IsOpen()) {
      *error = CallError("write", root, "", ERROR_CANTWRITE) + "; nothing was changed";
      return false;
    }
  }
  for (size_t n = 0; n < keys.size(); ++n) {
    const RegFileKey& k = keys[n];
    if (skip[n]) {
      skipped->push_back(KeyName(k.root, k.path));
      continue;
    }
    HKEY key = nullptr;
    long rc = k.path.empty() ? RegOpenKeyEx(k.root, "", KEY_ALL_ACCESS, &key)
                             : RegCreateKeyEx(k.root, k.path, KEY_ALL_ACCESS, &key);
    for (size_t i = 0; rc == ERROR_SUCCESS && i < k.values.size(); ++i) {
      const RegFileValue& v = k.values[i];
      rc = RegSetValueEx(key, v.name, v.type, v.data.data(), static_cast<uint32_t>(v.data.size()));
    }
    if (rc != ERROR_SUCCESS) *error = CallError("write", k.root, k.path, rc) + "; nothing was changed";
    if (key) RegCloseKey(key);
    if (rc != ERROR_SUCCESS) return false;
  }
  for (int h = 0; h < 2; ++h) {
    if (!transactions[h]) continue;
    const HKEY root = h == 0 ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
    if (const long rc = transactions[h]->Commit(); rc != ERROR_SUCCESS) {
      *error = CallError("write", root, "", rc) +
               (h == 1 && transactions[0] ? "; the keys of HKEY_CURRENT_USER were imported"
                                          : "; nothing was changed");
      return false;
    }
  }
  return true;
}
