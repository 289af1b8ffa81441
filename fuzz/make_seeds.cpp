// Writes a seed corpus for each fuzz target with the project's own writers,
// after the fixtures of the tests: make_seeds OUTDIR makes OUTDIR/<target>/.
#include "adagio/quote_source.h"
#include "common/archive_string.h"
#include "common/gennote.h"
#include "common/month.h"
#include "orrery/notes/use_note.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>

namespace {

std::string g_out;

std::string Dir(const std::string& target) {
  const std::string dir = g_out + "/" + target + "/";
  std::filesystem::create_directories(dir);
  return dir;
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f || std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size() || std::fclose(f) != 0) {
    std::perror(path.c_str());
    std::exit(1);
  }
}

void Archive(const std::string& path, const std::function<void(CArchive&)>& write) {
  CFile file;
  if (!file.Open(path, CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive)) {
    std::perror(path.c_str());
    std::exit(1);
  }
  CArchive ar(&file, CArchive::store);
  write(ar);
  ar.Close();
}

std::string Le16(uint16_t v) { return {static_cast<char>(v), static_cast<char>(v >> 8)}; }

CMonth SampleMonth(int seed) {
  CMonth month;
  month.SetDayText(1, "New Year");
  month.SetDayText(14, "Ann's birthday\r\nbring cake");
  month.SetDayText(31, std::string(300, 'x'));  // the 3-byte length prefix
  month.SetDayValue(14, 1);
  month.SetDayValue(2, -seed);
  month.SetDayText(20, "K\xC3\xB6ln, \xE9t\xE9");
  return month;
}

CGenNote SampleQuotes(int cycle) {
  CGenNote doc;
  doc.SetTitle("Sayings");
  doc.SetSubtitle("One a day");
  doc.SetDefaultQuote("Nothing today.");
  doc.SetCycleLength(cycle);
  doc.GetMonth(0).SetDayText(1, CGenNote::Scramble("A first quotation."));
  doc.GetMonth(1).SetDayText(29, CGenNote::Scramble("Only in leap years."));
  doc.GetMonth(11).SetDayText(31, CGenNote::Scramble("The last one."));
  return doc;
}

void ArchiveStrings() {
  const std::string dir = Dir("fuzz_archive_string");
  Archive(dir + "texts", [](CArchive& ar) {
    for (const char* text : {"", "a", "LMAQF10", "two\r\nlines"}) WriteArchiveString(ar, text);
    WriteArchiveString(ar, std::string(254, 'a'));
    WriteArchiveString(ar, std::string(255, 'b'));
    WriteArchiveString(ar, std::string(70000, 'c'));  // the 7-byte prefix
  });
  // The 16-bit forms: FF FE FF then a 1-byte length or the longer prefixes.
  WriteBytes(dir + "wide", std::string("\xFF\xFE\xFF\x03", 4) + std::string("K\0\xF6\0n\0", 6));
  WriteBytes(dir + "wide-long", std::string("\xFF\xFE\xFF\xFF", 4) + Le16(2) + std::string("a\0b\0", 4));
  WriteBytes(dir + "huge-length", std::string("\xFF\xFF\xFF\xFF\xFF\xFF\xFF", 7) +
                                      std::string("\xFF\xFF\xFF\x7F\0\0\0\0", 8));
  WriteBytes(dir + "zero-inside", std::string("\x05" "ab\0cd", 6));
}

void Months() {
  const std::string dir = Dir("fuzz_month");
  for (int seed = 0; seed < 2; ++seed) {
    CMonth month = seed ? SampleMonth(seed) : CMonth();
    Archive(dir + "month" + std::to_string(seed), [&](CArchive& ar) { month.Serialize(ar); });
  }
}

void Notes() {
  const std::string dir = Dir("fuzz_notes_file");
  CUseNote empty;
  empty.ClearAll();
  Archive(dir + "empty", [&](CArchive& ar) { empty.Serialize(ar); });
  CUseNote year;
  year.ClearAll();
  for (int m = 0; m < 12; ++m) year.SetMonthRecord(m, SampleMonth(m));
  Archive(dir + "year", [&](CArchive& ar) { year.Serialize(ar); });
  // Eleven months only: a truncated file.
  Archive(dir + "short", [&](CArchive& ar) {
    for (int m = 0; m < 11; ++m) SampleMonth(m).Serialize(ar);
  });
}

void QuoteFiles() {
  const std::string dir = Dir("fuzz_quote_file");
  for (int cycle : {1, 7, 366, 0}) {
    CGenNote doc = SampleQuotes(cycle);
    // Two bytes of date choice come first.
    const std::string path = dir + "cycle" + std::to_string(cycle);
    Archive(path, [&](CArchive& ar) {
      ar << static_cast<uint16_t>(cycle * 37);
      doc.Serialize(ar);
    });
  }
  CGenNote empty;
  Archive(dir + "empty", [&](CArchive& ar) {
    ar << static_cast<uint16_t>(59);
    empty.Serialize(ar);
  });
}

void QuoteSources() {
  const std::string dir = Dir("fuzz_quote_source");
  // The empty source as the generator makes it.
  CQuoteSource(dir + "template.txt").CreateTemplate();
  // A filled one, with a default quotation and texts that need trimming.
  std::string text = std::string(CQuoteSource::kTitleMarker) + "\r\n  Sayings \r\n" +
                     CQuoteSource::kSubtitleMarker + "\r\nOne a day\r\n";
  CDateTime date(1996, 1, 1);
  for (int day = 0; day < 366; ++day, date = date.AddDays(1)) {
    text += CQuoteSource::DateMarker(date) + "\r\n";
    if (day % 3 == 0) text += "Quotation of day " + std::to_string(day + 1) + ".\r\n\t-- Someone\r\n";
  }
  WriteBytes(dir + "filled.txt", text + CQuoteSource::kDefaultMarker + "\r\nNothing today.\r\n");
  WriteBytes(dir + "no-default.txt", text + "The last day runs to the end.\n");
  WriteBytes(dir + "titles-only.txt", std::string(CQuoteSource::kTitleMarker) + "\nT\n" +
                                          CQuoteSource::kSubtitleMarker + "\nS\n{*** Jan 01 ***}\n");
}

void RegTexts() {
  const std::string dir = Dir("fuzz_regfile");
  const std::string header = "Windows Registry Editor Version 5.00\n\n";
  WriteBytes(dir + "sample.reg",
             header +
                 "; settings restored by hand\r\n"
                 "[HKEY_CURRENT_USER\\Software\\Vantrel Software\\Lumen Almanac\\Orrery\\Options]\r\n"
                 "\"Name\"=\"Ann \\\"the Bold\\\" of C:\\\\Home\"\r\n"
                 "\"Greet\"=dword:00000001\r\n"
                 "\"Quote\"=dword:2A\r\n"
                 "@=\"\"\r\n"
                 "\r\n"
                 "[HKEY_LOCAL_MACHINE\\Software\\Test]\n"
                 "\"Blob\"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,16,17,\\\n"
                 "  18,19,1a,1b,1c,1d,1e,1f,20\n"
                 "\"Empty\"=hex:\n"
                 "\"Lines\"=hex(1):41,0d,0a,42,00\n"
                 "\"Multi\"=hex(7):61,00,62,00,00\n"
                 "\"Utf8\"=\"K\xC3\xB6ln\"\n"
                 "[HKEY_LOCAL_MACHINE\\Software\\Test\\Empty Key]\n");
  WriteBytes(dir + "bom.reg", "\xEF\xBB\xBF" + header + "[HKCU\\a\\\\b\\]\n\"A\"=hex(4):01,02,03,04\n");
  WriteBytes(dir + "places.reg",
             header + "[HKEY_LOCAL_MACHINE\\Software\\Vantrel Software\\Lumen Almanac\\Orrery\\Location1]\n"
                      "\"Name\"=\"Rome\"\n\"Zone\"=\"W. Europe Standard Time\"\n"
                      "\"Data\"=hex(0):9a,99,48,41,33,33,27,42\n");
  WriteBytes(dir + "bad.reg", header + "[HKEY_CURRENT_USER\\x\n\"B\"=\"open\n");
}

void Sky() {
  const std::string dir = Dir("fuzz_sun_moon");
  struct Place {
    float lat, lon;
    int32_t bias;
    uint16_t year;
    uint8_t month, day;
  };
  const Place places[] = {{41.9f, 12.5f, -60, 2024, 6, 21}, {78.2f, 15.6f, -60, 2024, 12, 21},
                          {-33.9f, 151.2f, -600, 2000, 1, 1}, {0, 0, 0, 1900, 3, 1},
                          {-90, 180, 1440, 9999, 12, 31}};
  int n = 0;
  for (const Place& p : places) {
    std::string bytes(4 + 4 + 4 + 2 + 1 + 1 + 8 + 8, '\0');
    const uint16_t year = static_cast<uint16_t>(p.year - 100);
    const uint8_t month = p.month - 1, day = p.day - 1;
    const double hours = 6.5, t = 8766.0;
    char* out = bytes.data();
    std::memcpy(out, &p.lat, 4);
    std::memcpy(out + 4, &p.lon, 4);
    std::memcpy(out + 8, &p.bias, 4);
    std::memcpy(out + 12, &year, 2);
    std::memcpy(out + 14, &month, 1);
    std::memcpy(out + 15, &day, 1);
    std::memcpy(out + 16, &hours, 8);
    std::memcpy(out + 24, &t, 8);
    WriteBytes(dir + "place" + std::to_string(n++), bytes);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTDIR\n", argv[0]);
    return 2;
  }
  g_out = argv[1];
  ArchiveStrings();
  Months();
  Notes();
  QuoteFiles();
  QuoteSources();
  RegTexts();
  Sky();
  return 0;
}
