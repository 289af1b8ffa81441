// lumen given files and settings made to trip it: empty values, huge
// values, texts that try to command the terminal, odd things in the notes
// files' places.
#include "tests/lumen/lumen_run.h"

#include "adagio/quote_source.h"
#include "lumen/output.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <sys/stat.h>

namespace {

const std::string kOrrery = "Software\\Vantrel Software\\Lumen Almanac\\Orrery";
const std::string kHeader = "Windows Registry Editor Version 5.00\n\n";

// Settings for a report with notes in the sandbox and quote.day's quotations.
std::string ReportSettings(const LumenSandbox& box) {
  return kHeader + "[HKEY_CURRENT_USER\\" + kOrrery + "\\Schedule]\n\"Path\"=\"" + box.notesDir() +
         "/\"\n\n[HKEY_CURRENT_USER\\" + kOrrery +
         "\\Options]\n\"Name\"=\"Ann\"\n\"Quote\"=dword:00000001\n\n[HKEY_LOCAL_MACHINE\\" + kOrrery +
         "\\QFile0]\n\"Path\"=\"" + box.file("") + "\"\n\"File\"=\"quote.day\"\n";
}

TEST(LumenHostileInput, AnEmptyTextValueReadsAsEmpty) {
  LumenSandbox box;
  // A text value without even its terminating zero.
  box.Import(kHeader + "[HKEY_CURRENT_USER\\" + kOrrery + "\\Options]\n\"Name\"=hex(1):\n");
  const RunResult r = box.Run({"report", "--now", "2024-03-10 09:30:00"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_NE(r.out.find("The Sun rises at"), std::string::npos) << r.out;
  EXPECT_NE(box.Run({"reg", "export", "HKEY_CURRENT_USER\\" + kOrrery + "\\Options"}).out.find(
                "\"Name\"=hex(1):\n"),
            std::string::npos);
}

TEST(LumenHostileInput, AMegabyteValueSurvivesExportAndImport) {
  LumenSandbox box;
  std::string hex;
  for (size_t i = 0; i < (1u << 20); ++i) {
    char byte[4];
    std::snprintf(byte, sizeof byte, i ? ",%02x" : "%02x", static_cast<unsigned>((i * 7919) >> 3) & 0xFF);
    hex += byte;
  }
  box.Import(kHeader + "[HKEY_CURRENT_USER\\Software\\Big]\n\"Blob\"=hex:" + hex + "\n");
  RunResult first = box.Run({"reg", "export", "HKEY_CURRENT_USER\\Software\\Big"});
  ASSERT_EQ(first.status, 0) << first.err;
  EXPECT_GT(std::count(first.out.begin(), first.out.end(), '\n'), 40000);
  // The wrapped value, its breaks taken out, is the one written.
  std::string flat;
  const size_t start = first.out.find("\"Blob\"=hex:") + 11;
  for (size_t i = start; i < first.out.size() && first.out.compare(i, 2, "\n\n") != 0; ++i)
    if (first.out[i] != '\\' && first.out[i] != '\n' && first.out[i] != ' ') flat += first.out[i];
  EXPECT_TRUE(flat == hex) << flat.size() << " of " << hex.size();

  box.Import(first.out);
  const RunResult second = box.Run({"reg", "export", "HKEY_CURRENT_USER\\Software\\Big"});
  EXPECT_TRUE(second.out == first.out);
}

TEST(LumenHostileInput, ControlCharactersShowVisiblyWhereNeeded) {
  const struct { const char* text; const char* shown; } cases[] = {
      {"plain text, tab\tand line\n", "plain text, tab\tand line\n"},
      {"\x1b]0;title\x07", "^[]0;title^G"},
      {"\x1b[2J\x1b[H", "^[[2J^[[H"},
      {"a\rb\x08" "c\x7f", "a^Mb^Hc^?"},
      {"\x01\x1f", "^A^_"},
      {"\xc2\x9b" "31m \xc2\x80 \xc2\x9f", "\xef\xbf\xbd" "31m \xef\xbf\xbd \xef\xbf\xbd"},
      {"\xc2\xa0\xc3\xa9 \xe2\x82\xac", "\xc2\xa0\xc3\xa9 \xe2\x82\xac"},  // other UTF-8 stays
  };
  for (const auto& c : cases) EXPECT_EQ(VisibleControls(c.text), c.shown) << c.text;
  EXPECT_EQ(VisibleControls(std::string("a\0b", 3)), "a^@b");
}

TEST(LumenHostileInput, TextsCannotCommandTheTerminal) {
  LumenSandbox box;
  std::string source = "{*** SHORT TITLE ***}\r\nTitle!\x1b]0;owned\x07\r\n{*** SUBTITLE ***}\r\nS\r\n";
  for (int slot = 0; slot < 366; ++slot) {
    const CDateTime d = CDateTime(1996, 1, 1).AddDays(slot);
    source += CQuoteSource::DateMarker(d) + "\r\n";
    if (d.GetMonth() == 3 && d.GetDay() == 10) source += "Quote!\x1b[2J\xc2\x9b" "1m\r\nend\x7f\r\n";
  }
  WriteFileBytes(box.file("quote.txt"), source);
  ASSERT_EQ(box.Run({"generate", box.file("quote.txt")}).status, 0);
  box.Import(ReportSettings(box));
  ASSERT_EQ(box.Run({"notes", "set", "--date", "2024-03-10", "--dated", "Note\x1b[31m red"}).status, 0);

  // (Placed where the scramble key does not turn them into a zero.)
  const std::string raw = "Quote!\x1b[2J\xc2\x9b" "1m\nend\x7f\n";
  const std::string shown = "Quote!^[[2J\xef\xbf\xbd" "1m\nend^?\n";
  RunResult r = box.RunOnTerminal({"quote", box.file("quote.day"), "--date", "2024-03-10"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, shown);
  EXPECT_EQ(box.Run({"quote", box.file("quote.day"), "--date", "2024-03-10"}).out, raw);  // a pipe gets the bytes

  r = box.RunOnTerminal({"quote", box.file("quote.day"), "--info"});
  EXPECT_NE(r.out.find("Title: Title!^[]0;owned^G\n"), std::string::npos) << r.out;
  r = box.RunOnTerminal({"report", "--now", "2024-03-10 09:30:00"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("\nNote^[[31m red\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("\n" + shown), std::string::npos) << r.out;
  r = box.RunOnTerminal({"notes", "--date", "2024-03-10"});
  EXPECT_NE(r.out.find("Dated:\n  Note^[[31m red\n"), std::string::npos) << r.out;
  for (const char* command : {"quote", "report", "notes"}) {
    r = box.Run({command, "--help"});
    EXPECT_NE(r.out.find("control characters"), std::string::npos) << command;
  }
}

TEST(LumenHostileInput, NotesFilesThatCannotBeReadAreNamed) {
  LumenSandbox box;
  box.Import(ReportSettings(box));
  const std::string year = box.notesDir() + "/Year2024.scd", annual = box.notesDir() + "/Annual.scd";
  const RunResult plainReport = box.Run({"report", "--now", "2024-03-10 09:30:00"});
  ASSERT_EQ(plainReport.status, 0) << plainReport.err;

  ASSERT_EQ(mkfifo(year.c_str(), 0600), 0);  // never waited on: no one writes to it
  std::filesystem::create_directory(annual);
  // Both files named, once each, in the order the store read them.
  auto told = [&](const std::string& err) {
    const std::string pipe = "lumen: the notes file '" + year +
                             "' could not be read (it is a pipe); it shows no notes\n";
    const std::string folder = "lumen: the notes file '" + annual +
                               "' could not be read (it is a folder); it shows no notes\n";
    return err == pipe + folder || err == folder + pipe;
  };
  RunResult r = box.Run({"notes", "--date", "2024-03-10"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "Notes for 2024-03-10\nDated:\n  (none)\nAnnual:\n  (none)\nRemind: 0\n");
  EXPECT_TRUE(told(r.err)) << r.err;
  r = box.Run({"report", "--now", "2024-03-10 09:30:00"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, plainReport.out);
  EXPECT_TRUE(told(r.err)) << r.err;
}

}  // namespace
