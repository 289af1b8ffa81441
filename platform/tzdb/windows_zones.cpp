#include "platform/tzdb/windows_zones.h"

#include <fstream>
#include <set>
#include <sstream>

namespace tzdb {
namespace {

std::string Trim(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

std::string DecodeEntities(const std::string& text) {
  static const std::pair<const char*, char> kEntities[] = {
      {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};
  std::string out;
  for (size_t i = 0; i < text.size();) {
    bool replaced = false;
    if (text[i] == '&') {
      for (const auto& [name, c] : kEntities) {
        if (text.compare(i, std::char_traits<char>::length(name), name) == 0) {
          out += c;
          i += std::char_traits<char>::length(name);
          replaced = true;
          break;
        }
      }
    }
    if (!replaced) out += text[i++];
  }
  return out;
}

// The value of attribute name in the text of one element, or nothing.
bool Attribute(const std::string& element, const std::string& name, std::string* value) {
  const std::string prefix = " " + name + "=\"";
  const size_t start = element.find(prefix);
  if (start == std::string::npos) return false;
  const size_t begin = start + prefix.size();
  const size_t end = element.find('"', begin);
  if (end == std::string::npos) return false;
  *value = DecodeEntities(element.substr(begin, end - begin));
  return true;
}

}  // namespace

std::vector<WindowsZone> ParseWindowsZones(const std::string& xml) {
  std::vector<WindowsZone> zones;
  std::set<std::string> seen;
  std::string comment;  // the last comment seen, the display text of what follows
  size_t pos = 0;
  while ((pos = xml.find('<', pos)) != std::string::npos) {
    if (xml.compare(pos, 4, "<!--") == 0) {
      const size_t end = xml.find("-->", pos + 4);
      if (end == std::string::npos) break;
      comment = Trim(xml.substr(pos + 4, end - pos - 4));
      pos = end + 3;
      continue;
    }
    const size_t end = xml.find('>', pos);
    if (end == std::string::npos) break;
    const std::string element = xml.substr(pos, end - pos);
    pos = end + 1;
    if (element.compare(0, 9, "<mapZone ") != 0) continue;
    std::string id, territory, type;
    if (!Attribute(element, "other", &id) || !Attribute(element, "territory", &territory) ||
        !Attribute(element, "type", &type) || territory != "001" || id.empty())
      continue;
    type = type.substr(0, type.find(' '));
    if (type.empty() || !seen.insert(id).second) continue;
    // Only a "(UTC...)" comment is a display text (not the file's licence).
    zones.push_back({id, comment.compare(0, 4, "(UTC") == 0 ? comment : std::string(), type});
  }
  return zones;
}

std::vector<WindowsZone> ReadWindowsZones(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return {};
  std::ostringstream text;
  text << in.rdbuf();
  return ParseWindowsZones(text.str());
}

}  // namespace tzdb
