#include "platform/tzdb/tzif.h"

#include <fstream>

namespace tzdb {
namespace {

class Reader {
public:
  explicit Reader(const std::string& bytes) : m_bytes(bytes) {}
  bool Has(size_t n) const { return m_pos <= m_bytes.size() && m_bytes.size() - m_pos >= n; }
  uint8_t U8() { return static_cast<uint8_t>(m_bytes[m_pos++]); }
  uint32_t U32() {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v = v << 8 | U8();
    return v;
  }
  int64_t I64() {
    uint64_t v = 0;
    for (int i = 0; i < 8; ++i) v = v << 8 | U8();
    return static_cast<int64_t>(v);
  }
  void Skip(size_t n) { m_pos += n; }
  size_t Pos() const { return m_pos; }
  const std::string& Bytes() const { return m_bytes; }

private:
  const std::string& m_bytes;
  size_t m_pos = 0;
};

struct Header {
  char version = 0;
  uint32_t isutcnt, isstdcnt, leapcnt, timecnt, typecnt, charcnt;
};

bool ReadHeader(Reader& r, Header* h) {
  if (!r.Has(44) || r.Bytes().compare(r.Pos(), 4, "TZif") != 0) return false;
  r.Skip(4);
  h->version = static_cast<char>(r.U8());
  r.Skip(15);
  h->isutcnt = r.U32();
  h->isstdcnt = r.U32();
  h->leapcnt = r.U32();
  h->timecnt = r.U32();
  h->typecnt = r.U32();
  h->charcnt = r.U32();
  return h->typecnt > 0 && h->typecnt <= 256 && h->timecnt < 1000000 && h->charcnt < 100000 &&
         h->leapcnt < 100000 && h->isutcnt <= h->typecnt && h->isstdcnt <= h->typecnt;
}

uint64_t BlockSize(const Header& h, size_t timeSize) {
  return uint64_t{h.timecnt} * timeSize + h.timecnt + uint64_t{h.typecnt} * 6 + h.charcnt +
         uint64_t{h.leapcnt} * (timeSize + 4) + h.isstdcnt + h.isutcnt;
}

}  // namespace

std::optional<ZoneFile> ParseZoneFile(const std::string& bytes) {
  Reader r(bytes);
  Header h;
  if (!ReadHeader(r, &h)) return std::nullopt;
  // Version 1 files carry only 32-bit times and no footer; later versions
  // repeat the data with 64-bit times, which is the part read here.
  const bool v1 = h.version == '\0';
  if (!v1) {
    if (!r.Has(BlockSize(h, 4))) return std::nullopt;
    r.Skip(BlockSize(h, 4));
    if (!ReadHeader(r, &h)) return std::nullopt;
  }
  const size_t timeSize = v1 ? 4 : 8;
  if (!r.Has(BlockSize(h, timeSize))) return std::nullopt;
  ZoneFile zone;
  zone.transitions.reserve(h.timecnt);
  for (uint32_t i = 0; i < h.timecnt; ++i) {
    const int64_t t = v1 ? static_cast<int32_t>(r.U32()) : r.I64();
    if (!zone.transitions.empty() && t <= zone.transitions.back()) return std::nullopt;
    zone.transitions.push_back(t);
  }
  for (uint32_t i = 0; i < h.timecnt; ++i) {
    const uint8_t index = r.U8();
    if (index >= h.typecnt) return std::nullopt;
    zone.typeIndex.push_back(index);
  }
  for (uint32_t i = 0; i < h.typecnt; ++i) {
    LocalTimeType type;
    type.utoff = static_cast<int32_t>(r.U32());
    type.isdst = r.U8() != 0;
    r.Skip(1);  // abbreviation index
    if (type.utoff < -25 * 3600 || type.utoff > 26 * 3600) return std::nullopt;
    zone.types.push_back(type);
  }
  r.Skip(h.charcnt + uint64_t{h.leapcnt} * (timeSize + 4) + h.isstdcnt + h.isutcnt);
  if (!v1 && r.Has(1) && r.U8() == '\n') {
    const size_t end = bytes.find('\n', r.Pos());
    if (end != std::string::npos) zone.footer = bytes.substr(r.Pos(), end - r.Pos());
  }
  return zone;
}

std::optional<ZoneFile> ReadZoneFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes;
  // Zone files are a few kilobytes; refuse anything implausibly large.
  constexpr size_t kLimit = 1 << 20;
  char chunk[4096];
  while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
    bytes.append(chunk, static_cast<size_t>(in.gcount()));
    if (bytes.size() > kLimit) return std::nullopt;
  }
  return ParseZoneFile(bytes);
}

}  // namespace tzdb
