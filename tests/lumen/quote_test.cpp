#include "tests/lumen/lumen_run.h"

#include "adagio/quote_source.h"

#include <gtest/gtest.h>

#include <map>

namespace {

// A source with quotations on a few dates; the last one fills December 31.
std::string Source(const std::map<int, std::string>& slots) {
  std::string text = "{*** SHORT TITLE ***}\r\nWise Words\r\n{*** SUBTITLE ***}\r\nAnon\r\nand others\r\n";
  for (int slot = 0; slot < 366; ++slot) {
    text += CQuoteSource::DateMarker(CDateTime(1996, 1, 1).AddDays(slot)) + "\r\n";
    if (auto it = slots.find(slot); it != slots.end()) text += it->second + "\r\n";
  }
  return text;
}

TEST(LumenQuote, GeneratedFileGivesTheDaysQuotation) {
  LumenSandbox box;
  const std::string source = box.file("Wise.txt");
  const std::string quote = box.file("Wise.day");
  WriteFileBytes(source, Source({{0, "New year"}, {58, "Feb 28th"}, {59, "Leap day\r\nonce in four"},
                                 {60, "First of March"}, {365, "Year's end"}}));
  RunResult r = box.Run({"generate", source});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "The quote file has been generated:\n" + quote + "\n");

  const std::pair<const char*, const char*> days[] = {
      {"2024-02-29", "Leap day\nonce in four\n"},  // a leap year reads every slot
      {"2024-03-01", "First of March\n"},
      {"2024-12-31", "Year's end\n"},
      {"2023-02-28", "Feb 28th\n"},
      {"2023-03-01", "First of March\n"},          // a common year skips the Feb 29 slot
      {"2023-12-31", "Year's end\n"},
      {"2023-06-01", ""},                          // no quotation and no default
  };
  for (const auto& [date, text] : days) {
    r = box.Run({"quote", quote, "--date", date});
    EXPECT_EQ(r.status, 0) << date << r.err;
    EXPECT_EQ(r.out, text) << date;
  }
  r = box.Run({"quote", quote, "--info"});
  EXPECT_EQ(r.out, "Title: Wise Words\nSubtitle: Anon\nand others\nCycle length: 366\n");
}

TEST(LumenQuote, GenerateReportsFailuresAndCreatesNewSources) {
  LumenSandbox box;
  RunResult r = box.Run({"generate", box.file("none.txt")});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err.find("The source file cannot be accessed."), 0u) << r.err;
  EXPECT_NE(r.err.find(" Could not generate quote file\n"), std::string::npos);

  WriteFileBytes(box.file("bad.txt"), Source({}).substr(0, 2000));
  r = box.Run({"generate", box.file("bad.txt")});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find(" not found\n Could not generate quote file\n"), std::string::npos) << r.err;

  r = box.Run({"generate", box.file("fresh.txt"), "--new"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(CQuoteSource(box.file("fresh.txt")).ReadTitles());
  r = box.Run({"quote", box.file("fresh.day"), "--info"});
  EXPECT_EQ(r.out, "Title: \nSubtitle: \nCycle length: 1\n");

  WriteFileBytes(box.file("junk.day"), "not a quotation file");
  r = box.Run({"quote", box.file("junk.day")});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("cannot read the quotation file"), std::string::npos);
}

}  // namespace
