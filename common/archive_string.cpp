#include "common/archive_string.h"

#include "platform/charset.h"

#include <cstring>

void WriteArchiveString(CArchive& ar, const std::string& text) {
  const size_t n = text.size();
  if (n < 255) {
    ar << static_cast<uint8_t>(n);
  } else if (n < 0xFFFE) {
    ar << static_cast<uint8_t>(0xFF) << static_cast<uint16_t>(n);
  } else {
    ar << static_cast<uint8_t>(0xFF) << static_cast<uint16_t>(0xFFFF)
       << static_cast<uint32_t>(n);
  }
  ar.Write(text.data(), n);
}

std::string ReadArchiveString(CArchive& ar) {
  bool wide = false;
  uint64_t length = 0;
  uint8_t b = 0;
  ar >> b;
  if (b != 0xFF) {
    length = b;
  } else {
    uint16_t w = 0;
    ar >> w;
    bool haveLength = false;
    if (w == 0xFFFE) {
      wide = true;
      ar >> b;
      if (b != 0xFF) {
        length = b;
        haveLength = true;
      } else {
        ar >> w;
      }
    }
    if (!haveLength) {
      if (w != 0xFFFF) {
        length = w;
      } else {
        uint32_t d = 0;
        ar >> d;
        if (d != 0xFFFFFFFF) {
          length = d;
        } else {
          uint64_t q = 0;
          ar >> q;
          if (q >= (1ULL << 31)) throw CArchiveException(CArchiveException::genericException);
          length = q;
        }
      }
    }
  }

  const uint64_t bytes = wide ? length * 2 : length;
  // A length beyond the data is a truncated file: fail before allocating it.
  if (bytes > ar.Remaining())
    throw CArchiveException(CArchiveException::endOfFile,
                            ar.GetFile() ? ar.GetFile()->GetFilePath() : "");
  std::string raw(static_cast<size_t>(bytes), '\0');
  ar.ReadExact(raw.data(), raw.size());
  if (!wide) return raw.substr(0, strnlen(raw.c_str(), raw.size()));

  std::u16string units;
  units.reserve(static_cast<size_t>(length));
  for (size_t i = 0; i + 1 < raw.size(); i += 2) {
    const auto unit = static_cast<char16_t>(static_cast<uint8_t>(raw[i]) |
                                            (static_cast<uint8_t>(raw[i + 1]) << 8));
    if (unit == 0) break;
    units += unit;
  }
  return Utf16ToAnsi(units);
}
