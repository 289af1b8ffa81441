#include "tests/lumen/lumen_run.h"

#include "adagio/quote_source.h"
#include "platform/file.h"

#include <gtest/gtest.h>

namespace {

const std::string kOrrery = "Software\\Vantrel Software\\Lumen Almanac\\Orrery";

class LumenNotesReport : public ::testing::Test {
protected:
  void SetUp() override {
    // A quotation file with a quotation for every day in March.
    std::string source = "{*** SHORT TITLE ***}T{*** SUBTITLE ***}S";
    for (int slot = 0; slot < 366; ++slot) {
      const CDateTime d = CDateTime(1996, 1, 1).AddDays(slot);
      source += CQuoteSource::DateMarker(d);
      if (d.GetMonth() == 3) source += "Quote of March " + std::to_string(d.GetDay());
    }
    WriteFileBytes(box.file("March.txt"), source);
    ASSERT_EQ(box.Run({"generate", box.file("March.txt")}).status, 0);
    box.Import("Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\" + kOrrery +
               "\\Schedule]\n\"Path\"=\"" + box.notesDir() + "/\"\n\n[HKEY_CURRENT_USER\\" + kOrrery +
               "\\Options]\n\"Name\"=\"Ann\"\n\"Quote\"=dword:00000001\n\n[HKEY_LOCAL_MACHINE\\" +
               kOrrery + "\\QFile0]\n\"Path\"=\"" + box.file("") + "\"\n\"File\"=\"March.day\"\n");
  }
  LumenSandbox box;
};

TEST_F(LumenNotesReport, NotesSetThenNotesAndReportShowThem) {
  RunResult r = box.Run({"notes", "set", "--date", "2024-03-10", "--dated", "Dentist\nat nine", "--remind", "1"});
  ASSERT_EQ(r.status, 0) << r.err;
  r = box.Run({"notes", "set", "--date", "2024-03-10", "--annual", "Ann's birthday"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(FileExists(box.notesDir() + "/Year2024.scd"));
  EXPECT_TRUE(FileExists(box.notesDir() + "/Annual.scd"));

  r = box.Run({"notes", "--date", "2024-03-10"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "Notes for 2024-03-10\nDated:\n  Dentist\n  at nine\nAnnual:\n  Ann's birthday\nRemind: 1\n");
  r = box.Run({"notes", "--date", "2024-03-07"});
  EXPECT_NE(r.out.find("Dated:\n  (none)\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("(Sun) - Dentist\nat nine\nAnn's birthday\n"), std::string::npos) << r.out;
  r = box.Run({"notes", "--date", "2025-03-10"});  // annual notes come back every year
  EXPECT_NE(r.out.find("Annual:\n  Ann's birthday\n"), std::string::npos) << r.out;

  r = box.Run({"report", "--now", "2024-03-10 09:30:00"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("Ann!\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("\nDentist\nat nine\nAnn's birthday\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("The Sun rises at"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("\nQuote of March 10\n\n"), std::string::npos) << r.out;
  EXPECT_EQ(r.out.find('\r'), std::string::npos);
  EXPECT_EQ(box.Run({"report", "--now", "2024-03-10 09:30:00"}).out, r.out);

  r = box.Run({"notes", "set", "--date", "2024-03-10", "--dated", "", "--remind", "0"});
  ASSERT_EQ(r.status, 0) << r.err;
  r = box.Run({"notes", "--date", "2024-03-10"});
  EXPECT_EQ(r.out, "Notes for 2024-03-10\nDated:\n  (none)\nAnnual:\n  Ann's birthday\nRemind: 0\n");
}

}  // namespace
