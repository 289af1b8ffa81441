#include "lumen/output.h"

#include "orrery/notes/note_store.h"

#include <unistd.h>

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

std::string VisibleControls(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c == '\t' || c == '\n') {
      out += static_cast<char>(c);
    } else if (c < 0x20 || c == 0x7F) {
      out += '^';
      out += static_cast<char>(c ^ 0x40);
    } else if (c == 0xC2 && i + 1 < text.size() &&
               static_cast<unsigned char>(text[i + 1]) >= 0x80 &&
               static_cast<unsigned char>(text[i + 1]) <= 0x9F) {
      out += "\xEF\xBF\xBD";
      ++i;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

std::string TextFor(std::FILE* stream, const std::string& text) {
  const std::string plain = TerminalText(text);
  const int fd = fileno(stream);
  return fd >= 0 && isatty(fd) ? VisibleControls(plain) : plain;
}

void PrintText(const std::string& text, std::FILE* stream) {
  const std::string out = TextFor(stream, text);
  std::fwrite(out.data(), 1, out.size(), stream);
  if (out.empty() || out.back() != '\n') std::fputc('\n', stream);
}

void ReportReadFailures(CNoteStore& store) {
  for (const CNoteStore::ReadFailure& f : store.TakeReadFailures())
    std::fprintf(stderr, "lumen: the notes file '%s' could not be read (%s); it shows no notes\n",
                 f.file.c_str(), f.reason.c_str());
}
