#include "platform/autostart.h"

#include "platform/file.h"
#include "platform/xdg.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr const char* kValueName = "Orrery";
constexpr const char* kValueKey = "X-Lumen-Run-Value";

bool SameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

bool IsExecutableFile(const std::string& path) {
  struct stat st{};
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(path.c_str(), X_OK) == 0;
}

bool AllDigits(const std::string& s) {
  if (s.empty()) return false;
  for (char c : s)
    if (c < '0' || c > '9') return false;
  return true;
}

// The escapes of a desktop entry's string values.
std::string EscapeString(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\\') out += "\\\\";
    else if (c == ' ' && (i == 0 || i + 1 == text.size())) out += "\\s";  // kept by readers that trim
    else out += c;
  }
  return out;
}

std::string UnescapeString(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 == text.size()) {
      out += text[i];
      continue;
    }
    switch (text[++i]) {
      case 's': out += ' '; break;
      case 'n': out += '\n'; break;
      case 't': out += '\t'; break;
      case 'r': out += '\r'; break;
      default: out += text[i]; break;
    }
  }
  return out;
}

// The arguments of an Exec= value (after string unescaping), quotes removed.
std::vector<std::string> ParseExecLine(const std::string& line) {
  std::vector<std::string> argv;
  std::string arg;
  bool inArg = false, quoted = false;
  for (size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (c == '%' && i + 1 < line.size()) {
      if (line[++i] == '%') {  // other field codes expand to nothing here
        arg += '%';
        inArg = true;
      }
    } else if (quoted) {
      if (c == '\\' && i + 1 < line.size()) arg += line[++i];
      else if (c == '"') quoted = false;
      else arg += c;
    } else if (c == ' ' || c == '\t') {
      if (inArg) argv.push_back(arg);
      arg.clear();
      inArg = false;
    } else if (c == '"') {
      quoted = inArg = true;
    } else {
      arg += c;
      inArg = true;
    }
  }
  if (inArg) argv.push_back(arg);
  return argv;
}

struct DesktopEntry {
  bool found = false;
  bool hidden = false;
  bool hasValue = false;
  std::string value;
  std::string exec;
};

DesktopEntry ReadEntry(const std::string& path) {
  DesktopEntry entry;
  // Only a regular file is an entry: a folder or a pipe there is none (and
  // opening a pipe would wait for a writer).
  struct stat st{};
  if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return entry;
  std::ifstream in(path, std::ios::binary);
  if (!in) return entry;
  entry.found = true;
  std::string line;
  bool inMain = false;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    if (line[0] == '[') {
      inMain = line == "[Desktop Entry]";
      continue;
    }
    const auto eq = line.find('=');
    if (!inMain || eq == std::string::npos) continue;
    std::string key = line.substr(0, eq);
    while (!key.empty() && key.back() == ' ') key.pop_back();
    size_t start = eq + 1;
    while (start < line.size() && line[start] == ' ') ++start;
    const std::string value = UnescapeString(line.substr(start));
    if (key == kValueKey) {
      entry.hasValue = true;
      entry.value = value;
    } else if (key == "Exec") {
      entry.exec = value;
    } else if (key == "Hidden") {
      entry.hidden = entry.hidden || value == "true";
    } else if (key == "X-GNOME-Autostart-enabled") {  // switched off in the desktop's settings
      entry.hidden = entry.hidden || value == "false";
    }
  }
  return entry;
}

class RunKeyProvider : public RegProvider {
public:
  bool KeyExists(const std::string& path) override { return path.empty(); }
  std::vector<std::string> SubKeys(const std::string&) override { return {}; }
  bool IsWritable() const override { return true; }

  std::vector<std::string> ValueNames(const std::string& path) override {
    if (!path.empty() || !QueryValue(path, kValueName)) return {};
    return {kValueName};
  }

  std::optional<RegValue> QueryValue(const std::string& path, const std::string& name) override {
    if (!path.empty() || !SameName(name, kValueName)) return std::nullopt;
    const DesktopEntry entry = ReadEntry(AutostartEntryPath());
    if (!entry.found || entry.hidden) return std::nullopt;
    std::string text = entry.value;
    if (!entry.hasValue) {  // written by another tool: the command it runs
      text.clear();
      for (const std::string& arg : ParseExecLine(entry.exec)) text += (text.empty() ? "" : " ") + arg;
    }
    RegValue value{REG_SZ, std::vector<uint8_t>(text.begin(), text.end())};
    value.data.push_back(0);
    return value;
  }

  long SetValue(const std::string& path, const std::string& name, const RegValue& value) override {
    if (!path.empty() || !SameName(name, kValueName)) return ERROR_ACCESS_DENIED;
    if (value.type != REG_SZ) return ERROR_INVALID_PARAMETER;
    std::string text(value.data.begin(), value.data.end());
    if (!text.empty() && text.back() == '\0') text.pop_back();
    for (char c : text)  // one line of a text file: no zeros or line breaks
      if (static_cast<unsigned char>(c) < 0x20) return ERROR_INVALID_PARAMETER;

    const std::string file = AutostartEntryPath();
    const std::string dir = file.substr(0, file.find_last_of('/'));
    if (!MakeDirectories(dir)) return ERROR_CANTWRITE;
    std::ostringstream content;
    content << "[Desktop Entry]\n"
            << "Type=Application\n"
            << "Name=" << kValueName << "\n"
            << "Exec=" << EscapeString(DesktopExecLine(SplitRunCommand(text))) << "\n"
            << kValueKey << "=" << EscapeString(text) << "\n";
    // A new file under an unguessable name, never through a planted link.
    CFile out;
    if (!out.CreateUnique(file + ".", 0666)) return ERROR_CANTWRITE;
    const std::string temp = out.GetFilePath();
    try {
      const std::string bytes = content.str();
      out.Write(bytes.data(), bytes.size());
      out.Flush();
    } catch (const CFileException&) {
      out.Close();
      std::remove(temp.c_str());
      return ERROR_CANTWRITE;
    }
    out.Close();
    if (std::rename(temp.c_str(), file.c_str()) != 0) {
      std::remove(temp.c_str());
      return ERROR_CANTWRITE;
    }
    return ERROR_SUCCESS;
  }

  long DeleteValue(const std::string& path, const std::string& name) override {
    if (!path.empty() || !SameName(name, kValueName)) return ERROR_FILE_NOT_FOUND;
    const std::string file = AutostartEntryPath();
    if (std::remove(file.c_str()) == 0) return ERROR_SUCCESS;
    return FileExistsHere(file) ? ERROR_ACCESS_DENIED : ERROR_FILE_NOT_FOUND;
  }

private:
  static bool FileExistsHere(const std::string& file) {
    struct stat st{};
    return lstat(file.c_str(), &st) == 0;
  }
};

}  // namespace

std::string AutostartEntryPath() { return XdgConfigHome() + "/autostart/" + kValueName + ".desktop"; }

std::vector<std::string> SplitRunCommand(const std::string& command) {
  std::vector<std::string> words;
  std::string word;
  std::istringstream in(command);
  while (in >> word) words.push_back(word);
  if (words.empty()) return {};
  // Try "a", "a b", "a b c", ... as the program, as Windows does with an
  // unquoted path. Runs of blanks inside the path are kept as written.
  size_t end = 0;
  for (size_t i = 0; i < words.size(); ++i) {
    end = command.find(words[i], end) + words[i].size();
    const std::string program = command.substr(command.find(words[0]), end - command.find(words[0]));
    if (IsExecutableFile(program)) {
      std::vector<std::string> argv{program};
      argv.insert(argv.end(), words.begin() + static_cast<long>(i) + 1, words.end());
      return argv;
    }
  }
  const size_t first = command.find(words[0]);
  if (words.size() > 1 && AllDigits(words.back())) {
    const size_t last = command.rfind(words.back());
    std::string program = command.substr(first, last - first);
    while (!program.empty() && (program.back() == ' ' || program.back() == '\t')) program.pop_back();
    return {program, words.back()};
  }
  std::string program = command.substr(first);
  while (!program.empty() && (program.back() == ' ' || program.back() == '\t')) program.pop_back();
  return {program};
}

std::string DesktopExecLine(const std::vector<std::string>& argv) {
  std::string line;
  for (const std::string& arg : argv) {
    std::string quoted = "\"";
    for (char c : arg) {
      if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
      quoted += c;
      if (c == '%') quoted += '%';
    }
    quoted += '"';
    line += (line.empty() ? "" : " ") + quoted;
  }
  return line;
}

std::shared_ptr<RegProvider> MakeRunKeyProvider() { return std::make_shared<RunKeyProvider>(); }
