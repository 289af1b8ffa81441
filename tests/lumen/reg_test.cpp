#include "tests/lumen/lumen_run.h"

#include <gtest/gtest.h>

namespace {

const std::string kHeader = "Windows Registry Editor Version 5.00\n\n";

// Values of every kind, written the way a user might write them.
const std::string kSample =
    kHeader +
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
    "[HKEY_LOCAL_MACHINE\\Software\\Test\\Empty Key]\n";

TEST(LumenReg, ExportImportRoundTripIntoAnEmptyRegistry) {
  LumenSandbox first;
  first.Import(kSample);
  ASSERT_EQ(first.Run({"places", "set", "1", "--name", "Rome", "--lat", "41.9", "--lon", "12.5"}).status, 0);
  const RunResult exported = first.Run({"reg", "export"});
  ASSERT_EQ(exported.status, 0) << exported.err;
  const std::string& text = exported.out;
  EXPECT_EQ(text.rfind(kHeader, 0), 0u);
  EXPECT_NE(text.find("\"Name\"=\"Ann \\\"the Bold\\\" of C:\\\\Home\"\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\"Quote\"=dword:0000002a\n"), std::string::npos);
  EXPECT_NE(text.find("@=\"\"\n"), std::string::npos);
  EXPECT_NE(text.find("\"Lines\"=hex(1):41,0d,0a,42,00\n"), std::string::npos);
  EXPECT_NE(text.find("\"Name\"=\"Rome\""), std::string::npos);
  EXPECT_NE(text.find("[HKEY_LOCAL_MACHINE\\Software\\Test\\Empty Key]\n"), std::string::npos);
  EXPECT_EQ(text.find("Time Zones"), std::string::npos);  // read-only, served by the system
  for (size_t pos = 0, end; (end = text.find('\n', pos)) != std::string::npos; pos = end + 1)
    EXPECT_LE(end - pos, 80u) << text.substr(pos, end - pos);

  LumenSandbox second;
  WriteFileBytes(second.file("backup.reg"), text);
  RunResult r = second.Run({"reg", "import", second.file("backup.reg")});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(second.Run({"reg", "export"}).out, text);
  EXPECT_EQ(second.Run({"places"}).out, first.Run({"places"}).out);

  // One key alone, and the same through standard input.
  const std::string key = "HKEY_LOCAL_MACHINE\\Software\\Test";
  r = first.Run({"reg", "export", key});
  EXPECT_EQ(r.out.rfind(kHeader + "[" + key + "]\n\"Blob\"=hex:00,01,", 0), 0u) << r.out;
  LumenSandbox third;
  ASSERT_EQ(third.Run({"reg", "import", "-"}, r.out).status, 0);
  EXPECT_EQ(third.Run({"reg", "export", key}).out, r.out);
}

TEST(LumenReg, ReadOnlyTimeZonesAreExportedOnlyWhenNamed) {
  LumenSandbox box;
  const std::string zone =
      "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Time Zones\\GMT Standard Time";
  RunResult r = box.Run({"reg", "export", zone});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("[" + zone + "]\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("\"Display\"=\"(UTC+00:00) Dublin, Edinburgh, Lisbon, London\"\n"), std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find("\"TZI\"=hex:"), std::string::npos);

  // Importing into them changes nothing and says so.
  const std::string before = r.out;
  WriteFileBytes(box.file("tz.reg"), kHeader + "[" + zone + "]\n\"Display\"=\"Mine\"\n");
  r = box.Run({"reg", "import", box.file("tz.reg")});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find("left read-only key [" + zone + "] unchanged"), std::string::npos) << r.err;
  EXPECT_EQ(box.Run({"reg", "export", zone}).out, before);
}

TEST(LumenReg, MalformedFileChangesNothingAndNamesTheLine) {
  LumenSandbox box;
  box.Import(kSample);
  const std::string before = box.Run({"reg", "export"}).out;
  const std::string key = "[HKEY_CURRENT_USER\\Software\\X]\n\"A\"=\"changed\"\n";
  const std::pair<std::string, std::string> cases[] = {
      {"REGEDIT4\n" + key, "line 1: expected \"Windows Registry Editor Version 5.00\""},
      {"", "line 1: expected"},
      {kHeader + "\"A\"=\"1\"\n", "line 3: a value before the first key"},
      {kHeader + key + "\"B\"=dword:123456789\n", "line 5: expected dword:"},
      {kHeader + key + "\"B\"=\"open\n", "line 5: unterminated quoted string"},
      {kHeader + key + "\"B\"=\"a\\nb\"\n", "line 5: unknown escape"},
      {kHeader + key + "\"B\"=hex:01,zz\n", "line 5: expected a byte of two hex digits"},
      {kHeader + key + "\"B\"=hex:01,02,\\\n  03,0g\n", "line 5: expected ',' between hex bytes"},
      {kHeader + key + "\"B\"=hex(4):01,02\n", "line 5: a dword value needs exactly four bytes"},
      {kHeader + key + "\"B\"=-\n", "line 5: deleting values is not supported"},
      {kHeader + "[-HKEY_CURRENT_USER\\Software]\n", "line 3: deleting keys is not supported"},
      {kHeader + "[HKEY_USERS\\x]\n", "line 3: unknown root key"},
      {kHeader + "[HKEY_CURRENT_USER\\x\n", "line 3: a key line must end with ']'"},
      {kHeader + key + "B=1\n", "line 5: not a key, a value or a comment"},
      {kHeader + key + "\"B\"=\"x\" trailing\n", "line 5: unexpected text after the value"},
      {kHeader + key + "\"B\" \"x\"\n", "line 5: expected '=' after the value name"},
  };
  for (const auto& [text, error] : cases) {
    WriteFileBytes(box.file("bad.reg"), text);
    const RunResult r = box.Run({"reg", "import", box.file("bad.reg")});
    EXPECT_EQ(r.status, 1) << text;
    EXPECT_NE(r.err.find(error), std::string::npos) << text << "\n" << r.err;
    EXPECT_NE(r.err.find("nothing was changed"), std::string::npos) << r.err;
    EXPECT_EQ(box.Run({"reg", "export"}).out, before) << text;
  }
}

}  // namespace
