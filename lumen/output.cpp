#include "lumen/output.h"

std::string TerminalText(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    out += text[i];
  }
  return out;
}

std::string StoredText(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out += '\r';
    out += text[i];
  }
  return out;
}

void PrintText(const std::string& text, std::FILE* stream) {
  const std::string out = TerminalText(text);
  std::fwrite(out.data(), 1, out.size(), stream);
  if (out.empty() || out.back() != '\n') std::fputc('\n', stream);
}
