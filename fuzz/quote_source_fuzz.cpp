// Quotation sources: any text reads its titles and parses, or fails with a
// message, without a crash; a source that parses generates a quotation file
// whose reload gives back what was parsed.
#include "adagio/quote_source.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/scratch.h"
#include "orrery/quotes/quote_list.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = WriteScratch("source.txt", data, size);
  CQuoteSource source(path);
  if (source.ReadTitles()) {
    FUZZ_CHECK(!source.GetTitle().empty() && !source.GetSubtitle().empty());
  }

  CGenNote parsed;
  std::string message;
  if (!source.Parse(parsed, message)) {
    FUZZ_CHECK(!message.empty());
    return 0;
  }
  FUZZ_CHECK(parsed.GetCycleLength() >= 1 && parsed.GetCycleLength() <= 366);

  FUZZ_CHECK(source.Generate(message));
  CGenNote loaded;
  CFile file;
  FUZZ_CHECK(ReadQuoteFile(file, CQuoteSource::QuoteFileName(path), loaded));
  FUZZ_CHECK(loaded.GetTitle() == parsed.GetTitle());
  FUZZ_CHECK(loaded.GetSubtitle() == parsed.GetSubtitle());
  FUZZ_CHECK(loaded.GetCycleLength() == parsed.GetCycleLength());
  for (int m = 0; m < 12; ++m)
    for (int d = 1; d <= CMonth::kDays; ++d)
      FUZZ_CHECK(loaded.GetMonth(m).GetDayText(d) == parsed.GetMonth(m).GetDayText(d));
  // Within the cycle a day with its own quotation shows it in plain text, and
  // every day without one shows the same default.
  CDateTime date(1996, 1, 1);
  std::string fallback;
  bool haveFallback = false;
  for (int day = 0; day < loaded.GetCycleLength(); ++day, date = date.AddDays(1)) {
    FUZZ_CHECK(loaded.SetDate(date));
    const std::string own = loaded.GetMonth(date.GetMonth() - 1).GetDayText(date.GetDay());
    const std::string quote = loaded.GetDailyQuote();
    if (!own.empty()) {
      FUZZ_CHECK(quote == CGenNote::Scramble(own));
    } else if (haveFallback) {
      FUZZ_CHECK(quote == fallback);
    } else {
      fallback = quote;
      haveFallback = true;
    }
  }
  return 0;
}
