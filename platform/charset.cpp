#include "platform/charset.h"

#include <cstring>
#include <iconv.h>
#include <langinfo.h>
#include <locale.h>
#include <strings.h>

namespace {

std::string UserCharset() {
  locale_t loc = newlocale(LC_CTYPE_MASK, "", static_cast<locale_t>(0));
  std::string charset;
  if (loc) {
    if (const char* cs = nl_langinfo_l(CODESET, loc)) charset = cs;
    freelocale(loc);
  }
  if (charset.empty() || charset == "ANSI_X3.4-1968" || strcasecmp(charset.c_str(), "ASCII") == 0)
    charset = "UTF-8";
  return charset;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

}  // namespace

std::string Utf16ToAnsi(const std::u16string& text) {
  std::string utf8;
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = '?';
    }
    AppendUtf8(utf8, c);
  }
  const std::string charset = UserCharset();
  if (strcasecmp(charset.c_str(), "UTF-8") == 0 || strcasecmp(charset.c_str(), "UTF8") == 0)
    return utf8;

  iconv_t cd = iconv_open(charset.c_str(), "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) return utf8;
  std::string out;
  char buffer[16];
  size_t i = 0;
  while (i < utf8.size()) {
    size_t len = 1;
    const auto lead = static_cast<unsigned char>(utf8[i]);
    if (lead >= 0xF0) len = 4;
    else if (lead >= 0xE0) len = 3;
    else if (lead >= 0xC0) len = 2;
    char* in = utf8.data() + i;
    size_t inLeft = len;
    char* outPtr = buffer;
    size_t outLeft = sizeof buffer;
    if (iconv(cd, &in, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1)) {
      out += '?';
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
    } else {
      out.append(buffer, sizeof buffer - outLeft);
    }
    i += len;
  }
  iconv_close(cd);
  return out;
}
